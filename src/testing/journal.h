#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The journal of attempts, data/attempts.txt: every finished test of this computer, one line
// each, oldest first, Windows-1251 with CR LF like the program's other files. The fields are
// separated by a tab:
//   date and time (yyyy-MM-dd hh:mm:ss), first name, surname, test name, right answers,
//   questions asked, percent right (one decimal, point), grade 2..5, seconds spent.
// Lines that do not fit are skipped when read and kept when the journal grows.
namespace journal {

struct Attempt
{
    QDateTime when;
    QString firstName;
    QString surname;
    QString test;
    int correct = 0;
    int asked = 0;
    double percent = 0;
    int grade = 0;
    int seconds = 0;

    bool operator==(const Attempt &) const = default;
};

QString line(const Attempt &attempt);
std::optional<Attempt> parseLine(const QString &line);

// Adds the attempt at the end through whole-file replacement: a kill at any moment leaves the
// journal with or without the new line, never a torn one. False when it could not be written
// (or the present journal could not be read).
bool append(const QString &path, const Attempt &attempt);
// Adds lines at the end the same way, all or none.
bool appendLines(const QString &path, const QStringList &lines);
// A name field as the journals write it: one line, no tab.
QString field(const QString &text);
// A whole number field from low to high.
std::optional<int> number(const QString &text, int low, int high);

// Every readable attempt, oldest first; none when the journal is missing.
QList<Attempt> read(const QString &path);
// The attempts of one user.
QList<Attempt> ofUser(const QList<Attempt> &attempts, const QString &first, const QString &second);
// One attempt of everyone in the journal, sorted by userName.
QList<Attempt> users(const QList<Attempt> &attempts);
// "Фамилия Имя".
QString userName(const Attempt &attempt);

// "09.12.2026 10:29" and "1 мин 35 с", as tables show them.
QString dateText(const QDateTime &when);
QString timeText(int seconds);

} // namespace journal
