#include "core/sessionfiles.h"

#include "core/datafiles.h"
#include "core/textfile.h"

namespace {

QStringList headerLines(const SessionProgress &progress)
{
    return {QStringLiteral("first"),  textfile::oneLine(progress.firstName),
            QStringLiteral("second"), textfile::oneLine(progress.surname),
            QStringLiteral("name"),   textfile::oneLine(progress.testName),
            QStringLiteral("max"),    textfile::printNumber(progress.questionCount)};
}

void appendRecord(QStringList &lines, const SessionRecord &record)
{
    using textfile::oneLine;
    lines << QStringLiteral("tema") << oneLine(record.topic) << QStringLiteral("vop")
          << oneLine(record.question);
    for (int k = 1; k <= 5; ++k)
        lines << QStringLiteral("otv%1").arg(k) << oneLine(record.answers[k - 1]);
    lines << QStringLiteral("ris") << oneLine(record.picture) << QStringLiteral("otv_user")
          << QString::number(record.chosenAnswer) << QStringLiteral("otv_ver")
          << QString::number(record.rightAnswer);
}

void parseRecordLine(SessionRecord &record, const QString &key, const QString &value)
{
    if (key == QLatin1String("vop"))
        record.question = value;
    else if (key == QLatin1String("ris"))
        record.picture = value;
    else if (key == QLatin1String("otv_user"))
        record.chosenAnswer = textfile::leadingInt(value);
    else if (key == QLatin1String("otv_ver"))
        record.rightAnswer = textfile::leadingInt(value);
    else if (const int k = datafiles::answerKeyIndex(key); k >= 0)
        record.answers[k] = value;
}

} // namespace

QStringList progressFileLines(const SessionProgress &progress)
{
    return headerLines(progress) << QStringLiteral("curr")
                                 << textfile::printNumber(progress.currentQuestion)
                                 << QStringLiteral("ok")
                                 << textfile::printNumber(progress.rightAnswers)
                                 << QStringLiteral("ocenka")
                                 << textfile::printNumber(progress.grade);
}

bool writeProgressFile(const QString &path, const SessionProgress &progress)
{
    return textfile::writeLines(path, progressFileLines(progress));
}

QStringList sessionFileLines(const SessionProgress &progress, const SessionRecords &records)
{
    QStringList lines = headerLines(progress);
    lines << QStringLiteral("ok") << textfile::printNumber(progress.rightAnswers)
          << QStringLiteral("ocenka") << textfile::printNumber(progress.grade);
    const int slots = qBound(0, progress.questionCount, SessionSlots);
    for (int i = 0; i < slots; ++i)
        appendRecord(lines, records[i]);
    return lines;
}

bool writeSessionFile(const QString &path, const SessionProgress &progress,
                      const SessionRecords &records)
{
    return textfile::writeLines(path, sessionFileLines(progress, records));
}

void parseSessionFile(const QStringList &lines, SessionProgress &header, SessionRecords &records)
{
    int slot = 0;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines)) {
        if (!pair.hasValue)
            break;
        const QString key = pair.key.trimmed();
        const QString value = pair.value.trimmed();
        if (key == QLatin1String("first"))
            header.firstName = value;
        else if (key == QLatin1String("second"))
            header.surname = value;
        else if (key == QLatin1String("name"))
            header.testName = value;
        else if (key == QLatin1String("max"))
            header.questionCount = textfile::leadingInt(value);
        else if (key == QLatin1String("curr"))
            header.currentQuestion = textfile::leadingInt16(value);
        else if (key == QLatin1String("ok"))
            header.rightAnswers = textfile::leadingInt16(value);
        else if (key == QLatin1String("ocenka"))
            header.grade = textfile::leadingInt16(value);
        else if (key == QLatin1String("tema")) {
            ++slot;
            if (slot <= SessionSlots)
                records[slot - 1].topic = value;
        } else if (slot >= 1 && slot <= SessionSlots) {
            parseRecordLine(records[slot - 1], key, value);
        }
    }
}

bool readSessionFile(const QString &path, SessionProgress &header, SessionRecords &records)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return false;
    parseSessionFile(*lines, header, records);
    return true;
}

void clearSessionRecords(SessionRecords &records)
{
    records.fill(SessionRecord());
}
