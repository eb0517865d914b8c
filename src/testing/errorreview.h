#pragma once

#include "core/sessionfiles.h"

#include <QString>

class Outline;
struct SessionState;

// Moves the wrongly answered slots to the front in the order asked and empties the rest.
// Returns their number.
int compactWrongAnswers(SessionRecords &records);

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
WrongQuestionView showWrongQuestion(const SessionRecords &records, int position);

// The paragraph "Повторить раздел" opens after a topic test: the first paragraph of the course
// section the test of the bank covers. The topic tests are catalogue records 1..13, one per
// section; the section is the one whose title (after "Раздел N.") is the test's catalogue name, or,
// when no title matches, the section numbered as the record. Empty for any other test (the course
// test, a paragraph's test) and when the outline has no such section.
QString sectionToRepeat(const SessionState &session, const QString &bank, const Outline &outline);
