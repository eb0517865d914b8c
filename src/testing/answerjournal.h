#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The journal of answers, data/answers.txt: every question asked in a finished test of this
// computer, one line each, oldest first, Windows-1251 with CR LF. The fields are separated by a
// tab:
//   attempt start (yyyy-MM-dd hh:mm:ss), first name, surname, bank file name (T01_96.jpg),
//   record number in the bank file (1-based, file order), chosen answer as its place in the
//   bank file (1..5, 0 when the clock ran out with nothing chosen), 1 if right else 0, seconds
//   spent on the question.
// Lines that do not fit are skipped when read and kept when the journal grows.
namespace answerjournal {

// The teacher reads a pupil's journal up to this size.
constexpr qint64 ReadLimit = 8 * 1024 * 1024;
// The most seconds a line holds for one question; a longer time is written as this many.
constexpr int MaxSeconds = 1'000'000;

struct Answer
{
    QDateTime start;
    QString firstName;
    QString surname;
    QString bank;
    int record = 0;
    int chosen = 0;
    bool right = false;
    int seconds = 0;

    bool operator==(const Answer &) const = default;
};

QString line(const Answer &answer);
std::optional<Answer> parseLine(const QString &line);

// Adds the answers of one attempt at the end, all or none, as the journal of attempts grows:
// a kill never leaves a torn line. False when it could not be written.
bool append(const QString &path, const QList<Answer> &answers);

// Every readable line of the journal's bytes; with a bank named, only the lines of that bank.
QList<Answer> parse(QByteArrayView bytes, const QString &bank = QString());

} // namespace answerjournal
