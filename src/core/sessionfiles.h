#pragma once

#include <QString>
#include <QStringList>

#include <array>

// curr_test.ini (progress of the running test) and temp1.ini (the full record of the test)
// in data/. The teacher's computer reads both over the network, so the layouts are fixed
// and every write replaces the whole file.

// One asked question as recorded in temp1.ini; answers in the order shown, numbered 1..5, 0 for
// none.
struct SessionRecord
{
    QString topic;
    QString question;
    std::array<QString, 5> answers;
    QString picture;
    int chosenAnswer = 0;
    int rightAnswer = 0;
};

// Slot i (1..150) lives at index i - 1.
inline constexpr int SessionSlots = 150;
using SessionRecords = std::array<SessionRecord, SessionSlots>;

// The header of both files: what the writers put in and the reader gives back (temp1.ini has no
// current question).
struct SessionProgress
{
    QString firstName;
    QString surname;
    QString testName;
    int questionCount = 0;
    int currentQuestion = 0;
    int rightAnswers = 0;
    int grade = 0;
};

QStringList progressFileLines(const SessionProgress &progress);
bool writeProgressFile(const QString &path, const SessionProgress &progress);

// Header and slots 1..questionCount (at most 150).
QStringList sessionFileLines(const SessionProgress &progress, const SessionRecords &records);
bool writeSessionFile(const QString &path, const SessionProgress &progress,
                      const SessionRecords &records);

// Fills header and records from temp1.ini; a line that does not fit is skipped. Returns false
// when the file could not be read (header and records are then left as they were).
bool readSessionFile(const QString &path, SessionProgress &header, SessionRecords &records);
void parseSessionFile(const QStringList &lines, SessionProgress &header, SessionRecords &records);

void clearSessionRecords(SessionRecords &records);
