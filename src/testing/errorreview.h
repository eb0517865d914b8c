#pragma once

#include "testing/sessionfiles.h"

#include <QString>

// Moves the wrongly answered slots to the front in the order asked and empties the rest.
// Returns their number.
int CompactWrongAnswers(SessionRecords &records);

// What the error review shows for wrong answer `position` (1-based) of compacted records.
struct WrongQuestionView
{
    QString caption; // "Ошибка № 3"
    QString topic;   // "Тема: ..."
    QString question;
    std::array<QString, 5> answers;
    int userAnswer = 0;    // 1..5, 0 when none matches
    int correctAnswer = 0; // 1..5, 0 when none matches
    QString picture;
    bool previousVisible = false;
    bool nextVisible = false;
};
WrongQuestionView ShowWrongQuestion(const SessionRecords &records, int position);
