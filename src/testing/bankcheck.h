#pragma once

#include <QString>

class QTextStream;

// Checks a question bank with the loader the test uses: prints every problem with its question
// and line, then whether a test can be played from the file. Returns the exit code: 0 when it
// can, 1 when it cannot.
int checkBankFile(const QString &path, QTextStream &out);
