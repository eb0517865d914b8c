#pragma once

#include <QString>
#include <QStringList>

struct SessionState;

// net.ini: "number", the count of pupil computers, then for every computer its number and the
// folder of its program (ending with a separator), or an empty line when it is not set up.
// A missing file or one whose first line is "clear" means the classroom is not configured.
namespace netconfig {
bool isConfigured(const QString &path);
// The lines of net.ini for the session's NetCount and NetPath.
QStringList toLines(const SessionState &session);
// Reads the lines into the session; indices outside 1..50 are skipped, the count is kept
// within 0..50.
void applyLines(SessionState &session, const QStringList &lines);
// The folder part of a chosen program file: up to and including the last separator.
QString folderOf(const QString &programFile);
} // namespace netconfig

// Refreshes NetCount and NetPath from net.ini when it exists and is not "clear".
void loadNetConfig(SessionState &session, const QString &path);
// Writes net.ini from NetCount and NetPath.
bool saveNetConfig(const SessionState &session, const QString &path);
