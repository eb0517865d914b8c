#include "testing/journal.h"

#include "core/textfile.h"

#include <QSet>

#include <algorithm>

namespace journal {

namespace {
const QString DateFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

} // namespace

std::optional<int> number(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString field(const QString &text)
{
    QString clean = textfile::oneLine(text);
    clean.replace(u'\t', u' ');
    return clean.trimmed();
}

QString line(const Attempt &attempt)
{
    return QStringList{attempt.when.toString(DateFormat),
                       field(attempt.firstName),
                       field(attempt.surname),
                       field(attempt.test),
                       QString::number(attempt.correct),
                       QString::number(attempt.asked),
                       QString::number(attempt.percent, 'f', 1),
                       QString::number(attempt.grade),
                       QString::number(attempt.seconds)}
        .join(u'\t');
}

std::optional<Attempt> parseLine(const QString &text)
{
    const QStringList fields = text.split(u'\t');
    if (fields.size() != 9)
        return std::nullopt;
    Attempt attempt;
    attempt.when = QDateTime::fromString(fields[0], DateFormat);
    attempt.firstName = fields[1];
    attempt.surname = fields[2];
    attempt.test = fields[3];
    const auto correct = number(fields[4], 0, 1000);
    const auto asked = number(fields[5], 1, 1000);
    const auto grade = number(fields[7], 0, 5);
    const auto seconds = number(fields[8], 0, 1'000'000);
    bool percentOk = false;
    attempt.percent = fields[6].toDouble(&percentOk);
    if (!attempt.when.isValid() || !correct || !asked || !grade || !seconds || !percentOk ||
        *correct > *asked || attempt.percent < 0 || attempt.percent > 100)
        return std::nullopt;
    attempt.correct = *correct;
    attempt.asked = *asked;
    attempt.grade = *grade;
    attempt.seconds = *seconds;
    return attempt;
}

bool append(const QString &path, const Attempt &attempt)
{
    return appendLines(path, {line(attempt)});
}

bool appendLines(const QString &path, const QStringList &lines)
{
    const textfile::FileRead file = textfile::readFile(path);
    if (file.status == textfile::FileRead::Status::Unreadable)
        return false; // never replaced by the new line alone
    QByteArray bytes = file.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        bytes += "\r\n";
    for (const QString &text : lines)
        textfile::appendLine(bytes, text);
    return textfile::replaceFile(path, bytes);
}

QList<Attempt> read(const QString &path)
{
    QList<Attempt> attempts;
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return attempts;
    for (const QString &text : *lines) {
        if (std::optional<Attempt> attempt = parseLine(text))
            attempts << *attempt;
    }
    return attempts;
}

QList<Attempt> ofUser(const QList<Attempt> &attempts, const QString &first, const QString &second)
{
    QList<Attempt> mine;
    for (const Attempt &attempt : attempts) {
        if (attempt.firstName == field(first) && attempt.surname == field(second))
            mine << attempt;
    }
    return mine;
}

QString userName(const Attempt &attempt)
{
    return attempt.surname + u' ' + attempt.firstName;
}

QList<Attempt> users(const QList<Attempt> &attempts)
{
    QSet<std::pair<QString, QString>> seen;
    QList<Attempt> people;
    for (const Attempt &attempt : attempts) {
        if (!seen.contains({attempt.firstName, attempt.surname})) {
            seen.insert({attempt.firstName, attempt.surname});
            people << attempt;
        }
    }
    std::sort(people.begin(), people.end(), [](const Attempt &a, const Attempt &b) {
        return userName(a).localeAwareCompare(userName(b)) < 0;
    });
    return people;
}

QString dateText(const QDateTime &when)
{
    return when.toString(QStringLiteral("dd.MM.yyyy hh:mm"));
}

QString timeText(int seconds)
{
    return QStringLiteral("%1 мин %2 с").arg(seconds / 60).arg(seconds % 60);
}

} // namespace journal
