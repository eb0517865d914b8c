#pragma once

#include "testing/bankdocument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class QRandomGenerator;

// One question of a bank; answers in the shuffled order, markers removed.
struct BankRecord
{
    QString topic;
    QString question;
    std::array<QString, 5> answers; // answer k at index k - 1
    qint16 correct = 0;             // 1..5
    QString picture;
    std::array<qint8, 5> places{1, 2, 3, 4, 5}; // place in the file of answer k at index k - 1

    // The place in the file of the answer shown as `shown` (1..5); 0 for any other number.
    int filePlace(int shown) const { return shown >= 1 && shown <= 5 ? places[shown - 1] : 0; }
};

// A loaded question bank: records 0..lastIndex are the questions of the test.
struct QuestionBank
{
    static constexpr int Slots = 201;
    // A test records at most this many questions.
    static constexpr int MaxTestQuestions = 150;

    std::array<BankRecord, Slots> records;
    QString name;
    qint16 time = 0;
    int lastIndex = 0;

    int questionCount() const { return lastIndex + 1; }
};

// Where a question of a test drawn from several banks comes from.
struct QuestionSource
{
    QString bank;   // file name in data/jpg
    int record = 0; // 1-based, in file order
};

// A bank ready to play, or the reason why it cannot be played.
struct PreparedTest
{
    QuestionBank bank;
    QList<int> order; // position p: bank index of question p + 1
    // Position p: the bank file and record of question p + 1 when the test was drawn from
    // several banks; empty when every question is a record of the chosen bank.
    QList<QuestionSource> sources;
    QString error;               // empty when the test can start
    QList<BankProblem> problems; // every fault and warning, in file order

    bool ok() const { return error.isEmpty(); }
};

// Reads a bank from its lines: preamble up to "start", then key/value pairs up to "end".
// Answers of every record but the first are shuffled with `random`. A record cut off before
// its closing "ris" is not played. On a damaged bank the result carries a Russian description
// of the first fault, naming the question and line, and never a partly filled test.
PreparedTest parseQuestionBank(const QStringList &lines, const QString &fileName,
                               QRandomGenerator &random);
PreparedTest loadQuestionBank(const QString &path, QRandomGenerator &random);

// Puts the answers of one record into a random order; the last answer marked "1" becomes
// the correct one. Without a marked answer `correct` holds the file place of the right answer
// ("good") and follows that answer to its new place.
void shuffleAnswers(BankRecord &record, QRandomGenerator &random);

// Every index 0..lastIndex once: a random pick below lastIndex, then upwards (wrapping)
// to the first index not yet drawn.
QList<int> drawQuestionOrder(int lastIndex, QRandomGenerator &random);

// Loads the bank and draws its question order.
PreparedTest prepareTest(const QString &path, QRandomGenerator &random);

// What the bank editor shows: the loader's problems with the document as it would be saved,
// and the guide's warning about a right answer longer than every wrong one.
QList<BankProblem> checkBankDocument(const BankDocument &document);
