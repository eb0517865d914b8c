#pragma once

#include "testing/answerjournal.h"
#include "testing/questionbank.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// "Работа над ошибками": the questions a user answered wrong and has not mastered since, found
// in the journal of answers and asked again from the banks as they stand now. A question is
// mastered when it was answered right on two different days after its last wrong answer.
//
// The journal holds a question only by its record number, so a record counts as unchanged when
// it still exists and every answer of the user agrees with its present key: the answers he got
// right are the right one, those he got wrong are not. A record whose right answer moved, or
// that is gone, is not asked.
class MistakePractice
{
public:
    static constexpr int MasteryDays = 2;
    static constexpr int MaxQuestions = 20;

    struct Question
    {
        QString bank;
        int record = 0; // 1-based, in file order
        QDateTime lastWrong;

        bool operator==(const Question &) const = default;
    };

    // For every bank file name, the place in the file of the right answer of records 1, 2, ...
    using BankKeys = QHash<QString, QList<int>>;

    // Only the lines of this first name and surname count.
    MistakePractice(const QList<answerjournal::Answer> &journal, const QString &first,
                    const QString &second);

    // The banks of the questions not yet mastered: only these need loading.
    QStringList banks() const;
    // The questions not yet mastered whose records the banks hold unchanged, the latest mistake
    // first, at most MaxQuestions.
    QList<Question> questions(const BankKeys &keys) const;

private:
    struct History
    {
        Question question;
        bool missed = false; // answered wrong at least once
        QList<QDate> rightDaysSince;
        QList<int> rightPlaces;
        QList<int> wrongPlaces;

        // Answers come in time order.
        void note(const answerjournal::Answer &answer);
        bool mastered() const { return !missed || rightDaysSince.size() >= MasteryDays; }
        bool agreesWith(int key) const;
    };

    QList<History> m_histories;
};

// The practice ready to play: the questions in the given order, each taken from its bank in
// `banks` (by file name), with their sources for the journal. It stores no grade.
PreparedTest practiceTest(const QList<MistakePractice::Question> &questions,
                          const QHash<QString, QuestionBank> &banks);

// Reads the user's journal of answers (`answersPath`, bounded as the teacher reads it) and the
// banks it names, found by `bankPath`, and prepares the practice. A journal that cannot be read
// gives a test whose error names it; with nothing to practise the test has no questions.
PreparedTest prepareMistakePractice(const QString &answersPath,
                                    const std::function<QString(const QString &)> &bankPath,
                                    const QString &first, const QString &second,
                                    QRandomGenerator &random);
