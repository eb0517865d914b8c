#include "testing/answerjournal.h"

#include "core/textfile.h"
#include "testing/journal.h"

#include <QStringList>

namespace answerjournal {

namespace {
const QString DateFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
} // namespace

QString line(const Answer &answer)
{
    return QStringList{answer.start.toString(DateFormat),
                       journal::field(answer.firstName),
                       journal::field(answer.surname),
                       journal::field(answer.bank),
                       QString::number(answer.record),
                       QString::number(answer.chosen),
                       QString::number(answer.right ? 1 : 0),
                       QString::number(qBound(0, answer.seconds, MaxSeconds))}
        .join(u'\t');
}

std::optional<Answer> parseLine(const QString &text)
{
    const QList<Answer> answers = parse(textfile::encode1251(text));
    return answers.size() == 1 ? std::optional<Answer>(answers.first()) : std::nullopt;
}

bool append(const QString &path, const QList<Answer> &answers)
{
    QStringList lines;
    for (const Answer &answer : answers)
        lines << line(answer);
    return journal::appendLines(path, lines);
}

namespace {
std::optional<int> number(QByteArrayView text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

// The numbers after the bank: record, chosen answer, right mark, seconds.
bool readNumbers(QByteArrayView text, Answer &answer)
{
    std::array<QByteArrayView, 4> fields;
    for (int i = 0; i < 4; ++i) {
        const qsizetype tab = text.indexOf('\t');
        if ((tab < 0) != (i == 3))
            return false;
        fields[i] = tab < 0 ? text : text.first(tab);
        text = tab < 0 ? QByteArrayView() : text.sliced(tab + 1);
    }
    const auto record = number(fields[0], 1, 1000);
    const auto chosen = number(fields[1], 0, 5);
    const auto right = number(fields[2], 0, 1);
    const auto seconds = number(fields[3], 0, MaxSeconds);
    if (!record || !chosen || !right || !seconds)
        return false;
    answer.record = *record;
    answer.chosen = *chosen;
    answer.right = *right == 1;
    answer.seconds = *seconds;
    return true;
}

// Where the fourth tab of the line stands, after the bank; -1 when there is none.
qsizetype afterBank(QByteArrayView text)
{
    qsizetype at = -1;
    for (int i = 0; i < 4; ++i) {
        at = text.indexOf('\t', at + 1);
        if (at < 0)
            return -1;
    }
    return at;
}
} // namespace

QList<Answer> parse(QByteArrayView bytes, const QString &bank)
{
    QList<Answer> answers;
    // The lines of one attempt share start, names and bank: they are read once.
    QByteArrayView lastHead;
    Answer head;
    bool headValid = false;
    textfile::forEachLine(bytes, [&](QByteArrayView text) {
        const qsizetype end = afterBank(text);
        if (end < 0)
            return;
        if (text.first(end) != lastHead || lastHead.isNull()) {
            lastHead = text.first(end);
            const QStringList fields = textfile::decode1251(lastHead).split(u'\t');
            head.start = QDateTime::fromString(fields[0], DateFormat);
            head.firstName = fields[1];
            head.surname = fields[2];
            head.bank = fields[3];
            headValid = head.start.isValid() && !head.bank.isEmpty();
        }
        Answer answer = head;
        if (headValid && (bank.isEmpty() || head.bank == bank) &&
            readNumbers(text.sliced(end + 1), answer))
            answers << answer;
    });
    return answers;
}

} // namespace answerjournal
