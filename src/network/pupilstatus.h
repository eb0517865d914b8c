#pragma once

#include "core/sessionstate.h"
#include "network/pupilfiles.h"

#include <QString>
#include <QStringList>

// The monitor's reader of a pupil's curr_test.ini: pairs of key and value lines. A file that
// is missing empties the status; a file that cannot be read or starts with "clear" keeps it; a
// file too big or not a regular file marks the status damaged.
namespace pupilstatus {

inline const QString DamagedText = QStringLiteral("Файл curr_test.ini повреждён");

// Applies the pairs of the file's lines to the status read before; keys not in the lines
// keep their earlier values, numbers are kept clamped to 16 bits as their leading number
// ("1e300" becomes "32767") and a grade that is not a non-zero number becomes empty.
PupilStatus applyLines(const QStringList &lines, PupilStatus status);

// The status after one reading of the file.
PupilStatus fromContents(const pupilfiles::Contents &contents, const PupilStatus &previous);
// Reads the file below one pupil's program folder (blocking: a share may take long to answer).
PupilStatus read(const QString &programFolder, const PupilStatus &previous);

// What one row of the monitor shows for a computer.
struct Row
{
    QString user;   // "№" + computer
    QString name;   // surname
    QString prav;   // ok "/" max
    QString curr;   // current question
    QString ocenka; // grade
    int minimum = 1;
    int maximum = 100;
    int value = 1;
};

// The row of computer i; the progress range is always valid: a damaged maximum becomes 1,
// and the value is kept within the range. A damaged status shows DamagedText as its name.
Row row(int computer, const PupilStatus &status);

} // namespace pupilstatus
