#pragma once

#include <QString>

// A fault in a source the generator reads. The message names the file and, where there is one,
// the line, so the author can go straight to the spot.
struct DataError
{
    QString message;
};

// "file:line: what"; line 0 leaves the line out.
DataError dataError(const QString &file, int line, const QString &what);
