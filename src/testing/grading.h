#pragma once

#include "core/sessionfiles.h"

#include <QString>

// The grade of a finished test, 2..5: correct / asked * 5 rounded half to even.
qint16 gradeFor(int correct, int asked);
// Share of right answers rounded to one decimal, e.g. "(66.7%)", "(50%)".
QString percentText(int correct, int asked);
float resultPercent(int correct, int asked);
// Whole minutes, e.g. "12 мин".
QString elapsedText(int seconds);

// How the result window presents a grade.
struct GradeLook
{
    QString word;
    int colour = -1; // 0x00BBGGRR, -1 for the system button-text colour
    QString verdict;
    QString cue; // WAV file name, empty for none
};
GradeLook gradeLookFor(int grade);
// The practice of missed questions gives no grade: the count of right answers, without a cue.
GradeLook practiceLook(int correct, int asked);

// Error-review settings: 1 always, 2 never, 3 not after the course test; only when one of the
// first `asked` records was answered wrong.
bool showErrorsAllowed(int asked, const SessionRecords &records, int setting, bool courseBank);
