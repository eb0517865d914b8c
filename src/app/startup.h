#pragma once

#include <QString>

struct SessionState;

// Prepares the session for a program living in programFolder (data-file names, sound on,
// mode flags off).
void startSession(SessionState &session, const QString &programFolder);

// A test the user did not go on with after the start: removes curr_test.ini, temp1.ini and
// resume.ini.
void deleteStaleTestFiles(const SessionState &session);
