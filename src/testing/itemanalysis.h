#pragma once

#include "testing/answerjournal.h"
#include "testing/questionbank.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// How the questions of one bank fared in the journals of answers of a class: per question how
// often it was asked and answered right, whether the attempts that did best overall answered it
// better than those that did worst, and which wrong answer drew the most.
namespace itemanalysis {

struct Item
{
    int question = 0; // record number in the bank file
    int asked = 0;
    int right = 0;
    double facility = 0; // percent right
    // Facility of the upper minus the lower group, -1..1; none when a group is too small.
    std::optional<double> discrimination;
    int topWrong = 0;         // place in the file of the wrong answer chosen most, 0 when none
    double topWrongShare = 0; // percent of the times asked
    double meanSeconds = 0;
    std::array<int, 6> chosen{}; // times each place 1..5 was chosen; [0]: nothing chosen
    QString flag;
};

// The share of the attempts at either end of the ranking that forms a group.
constexpr double GroupShare = 0.27;
// The smallest group that gives a discrimination.
constexpr int MinGroup = 5;

// The questions 1..questionCount of `bank` asked in attempts started from `from` to `to` (an
// invalid date leaves that end open), by record number. An attempt is one start of one user in
// one journal.
QList<Item> analyse(const QList<QList<answerjournal::Answer>> &journals, const QString &bank,
                    const QDate &from, const QDate &to, int questionCount);

// A program folder whose journal of answers is read, and how the user knows it.
struct Computer
{
    QString name;
    QString folder;
};

struct ClassJournals
{
    QList<QList<answerjournal::Answer>> journals; // the lines of `bank` of every journal read
    QStringList failures; // one line for every computer whose journal was not read
};

// Reads data/answers.txt below every program folder as other pupil files are read (regular
// files only, no links, at most answerjournal::ReadLimit). Blocks while a share answers.
ClassJournals readJournals(const QList<Computer> &computers, const QString &bank);

// Everything a table of the item analysis shows.
struct Report
{
    QList<Item> items;
    QStringList failures; // as ClassJournals
    int journalsRead = 0;
    QString bankError; // why the bank could not be read; empty when it was
    QuestionBank bank;
};

// Loads the bank file `bankPath`, reads the journals and analyses the lines of `bank` (the bank
// file's name as the journals hold it). Blocks while files are read.
Report buildReport(const QList<Computer> &computers, const QString &bankPath, const QString &bank,
                   const QDate &from, const QDate &to);

// The answers of a bank record in the order of the file.
std::array<QString, 5> fileOrderAnswers(const BankRecord &record);

// "85,0"; the discrimination "-0,25", "—" when there is none.
QString percentText(double percent);
QString discriminationText(const std::optional<double> &discrimination);

// The table for a spreadsheet: UTF-8 with a byte-order mark, ";" between fields, CR LF.
QByteArray csv(const QList<Item> &items);

} // namespace itemanalysis
