#include "testing/answerjournal.h"

#include "core/textfile.h"
#include "testing/journal.h"

#include <QStringList>

namespace answerjournal {

namespace {
const QString DateFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
using journal::number;
} // namespace

QString line(const Answer &answer)
{
    return QStringList{answer.start.toString(DateFormat),     journal::field(answer.first),
                       journal::field(answer.second),         journal::field(answer.bank),
                       QString::number(answer.record),        QString::number(answer.chosen),
                       QString::number(answer.right ? 1 : 0), QString::number(answer.seconds)}
        .join(u'\t');
}

namespace {
// The fields of a line whose start has been read already.
std::optional<Answer> fromFields(const QStringList &fields, const QDateTime &start)
{
    if (fields.size() != 8)
        return std::nullopt;
    Answer answer;
    answer.start = start;
    answer.first = fields[1];
    answer.second = fields[2];
    answer.bank = fields[3];
    const auto record = number(fields[4], 1, 1000);
    const auto chosen = number(fields[5], 0, 5);
    const auto right = number(fields[6], 0, 1);
    const auto seconds = number(fields[7], 0, 1'000'000);
    if (!answer.start.isValid() || answer.bank.isEmpty() || !record || !chosen || !right ||
        !seconds)
        return std::nullopt;
    answer.record = *record;
    answer.chosen = *chosen;
    answer.right = *right == 1;
    answer.seconds = *seconds;
    return answer;
}
} // namespace

std::optional<Answer> parseLine(const QString &text)
{
    const QStringList fields = text.split(u'\t');
    return fromFields(fields, QDateTime::fromString(fields[0], DateFormat));
}

bool append(const QString &path, const QList<Answer> &answers)
{
    QStringList lines;
    for (const Answer &answer : answers)
        lines << line(answer);
    return journal::appendLines(path, lines);
}

QList<Answer> parse(QByteArrayView bytes, const QString &bank)
{
    const QByteArray bankBytes = textfile::encode1251(u'\t' + bank + u'\t');
    QList<Answer> answers;
    // The lines of one attempt share their start: it is read once.
    QString startText;
    QDateTime start;
    textfile::forEachLine(bytes, [&](QByteArrayView text) {
        if (!bank.isEmpty() && !text.contains(bankBytes))
            return;
        const QStringList fields = textfile::decode1251(text).split(u'\t');
        if (fields[0] != startText) {
            startText = fields[0];
            start = QDateTime::fromString(startText, DateFormat);
        }
        if (std::optional<Answer> answer = fromFields(fields, start);
            answer && (bank.isEmpty() || answer->bank == bank))
            answers << *answer;
    });
    return answers;
}

} // namespace answerjournal
