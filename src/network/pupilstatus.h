#pragma once

#include "network/pupilfiles.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a pupil computer's curr_test.ini said when it was last read. A count the file has not
// given yet is absent, which is not the same as a count of 0.
struct PupilStatus
{
    QString firstName;
    QString surname;
    QString testName;
    std::optional<int> questionCount;
    std::optional<int> currentQuestion;
    std::optional<int> rightAnswers;
    int grade = 0; // 0 while the test is not graded
    // The file was too big, or not a regular file: the row says so instead of showing data.
    bool damaged = false;

    bool hasPupil() const { return !surname.isEmpty(); }
    bool graded() const { return grade != 0; }
};

// The monitor's reader of a pupil's curr_test.ini: pairs of key and value lines. A file that
// is missing empties the status; a file that cannot be read or starts with "clear" keeps it; a
// file too big or not a regular file marks the status damaged.
namespace pupilstatus {

inline const QString DamagedText = QStringLiteral("Файл curr_test.ini повреждён");

// A count as shown: empty when the file has not given it.
QString countText(std::optional<int> count);

// Applies the pairs of the file's lines to the status read before; keys not in the lines
// keep their earlier values, numbers are kept clamped to 16 bits as their leading number
// ("1e300" becomes 32767) and a grade that is not a non-zero number becomes no grade.
PupilStatus applyLines(const QStringList &lines, PupilStatus status);

// The status after one reading of the file.
PupilStatus fromContents(const pupilfiles::Contents &contents, const PupilStatus &previous);
// Reads the file below one pupil's program folder (blocking: a share may take long to answer).
PupilStatus read(const QString &programFolder, const PupilStatus &previous);

// What one row of the monitor shows for a computer.
struct Row
{
    QString computer; // "№" and its number
    QString pupil;    // the surname
    QString right;    // right answers "/" questions
    QString current;  // the question on screen
    QString grade;
    int minimum = 1;
    int maximum = 100;
    int value = 1;
};

// The row of computer i; the progress range is always valid: a damaged maximum becomes 1,
// and the value is kept within the range. A damaged status shows DamagedText as its name.
Row row(int computer, const PupilStatus &status);

} // namespace pupilstatus
