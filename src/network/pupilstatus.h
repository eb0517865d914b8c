#pragma once

#include "app/sessionstate.h"

#include <QString>
#include <QStringList>

// The monitor's reader of a pupil's curr_test.ini: pairs of key and value lines. A file that
// is missing empties the status; a file that cannot be read or starts with "clear" keeps it.
namespace pupilstatus {

// Applies the pairs of the file's lines to the status read before; keys not in the lines
// keep their earlier values and a grade that is not a non-zero number becomes empty.
PupilStatus applyLines(const QStringList &lines, PupilStatus status);

// Reads the file of one pupil computer (blocking: a share may take long to answer).
PupilStatus read(const QString &file, const PupilStatus &previous);

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
// and the value is kept within the range.
Row row(int computer, const PupilStatus &status);

} // namespace pupilstatus
