#include "core/sessionfiles.h"

#include "core/textfile.h"

#include <QHash>

namespace {

using Field = QString SessionRecord::*;

const QHash<QString, Field> &recordFields()
{
    static const QHash<QString, Field> fields{
        {QStringLiteral("vop"), &SessionRecord::vop},
        {QStringLiteral("otv1"), &SessionRecord::otv1},
        {QStringLiteral("otv2"), &SessionRecord::otv2},
        {QStringLiteral("otv3"), &SessionRecord::otv3},
        {QStringLiteral("otv4"), &SessionRecord::otv4},
        {QStringLiteral("otv5"), &SessionRecord::otv5},
        {QStringLiteral("ris"), &SessionRecord::ris},
    };
    return fields;
}

QStringList headerLines(const SessionProgress &progress)
{
    return {QStringLiteral("first"),  textfile::oneLine(progress.first),
            QStringLiteral("second"), textfile::oneLine(progress.second),
            QStringLiteral("name"),   textfile::oneLine(progress.name),
            QStringLiteral("max"),    textfile::printNumber(progress.max)};
}

void appendRecord(QStringList &lines, const SessionRecord &record)
{
    using textfile::oneLine;
    lines << QStringLiteral("tema") << oneLine(record.tema) << QStringLiteral("vop")
          << oneLine(record.vop);
    for (int k = 1; k <= 5; ++k)
        lines << QStringLiteral("otv%1").arg(k) << oneLine(record.otv(k));
    lines << QStringLiteral("ris") << oneLine(record.ris) << QStringLiteral("otv_user")
          << oneLine(record.otv_user) << QStringLiteral("otv_ver") << oneLine(record.otv_ver);
}

} // namespace

QString &SessionRecord::otv(int k)
{
    switch (k) {
    case 1:
        return otv1;
    case 2:
        return otv2;
    case 3:
        return otv3;
    case 4:
        return otv4;
    default:
        return otv5;
    }
}

const QString &SessionRecord::otv(int k) const
{
    return const_cast<SessionRecord *>(this)->otv(k);
}

QStringList progressFileLines(const SessionProgress &progress)
{
    return headerLines(progress) << QStringLiteral("curr") << textfile::printNumber(progress.curr)
                                 << QStringLiteral("ok") << textfile::printNumber(progress.ok)
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
    lines << QStringLiteral("ok") << textfile::printNumber(progress.ok) << QStringLiteral("ocenka")
          << textfile::printNumber(progress.grade);
    const int slots = qBound(0, progress.max, SessionSlots);
    for (int i = 0; i < slots; ++i)
        appendRecord(lines, records[i]);
    return lines;
}

bool writeSessionFile(const QString &path, const SessionProgress &progress,
                      const SessionRecords &records)
{
    return textfile::writeLines(path, sessionFileLines(progress, records));
}

QString sessionNumberText(QStringView value)
{
    return textfile::printNumber(textfile::leadingInt(value)).chopped(1);
}

void parseSessionFile(const QStringList &lines, SessionHeader &header, SessionRecords &records)
{
    int slot = 0;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines)) {
        if (!pair.hasValue)
            break;
        const QString key = pair.key.trimmed();
        const QString value = pair.value.trimmed();
        if (key == QLatin1String("first"))
            header.first = value;
        else if (key == QLatin1String("second"))
            header.second = value;
        else if (key == QLatin1String("name"))
            header.name = value;
        else if (key == QLatin1String("max"))
            header.max = sessionNumberText(value);
        else if (key == QLatin1String("ok"))
            header.ok = textfile::leadingInt16(value);
        else if (key == QLatin1String("ocenka"))
            header.grade = textfile::leadingInt16(value);
        else if (key == QLatin1String("tema")) {
            ++slot;
            if (slot <= SessionSlots)
                records[slot - 1].tema = value;
        } else if (slot < 1 || slot > SessionSlots)
            continue;
        else if (key == QLatin1String("otv_user"))
            records[slot - 1].otv_user = sessionNumberText(value);
        else if (key == QLatin1String("otv_ver"))
            records[slot - 1].otv_ver = sessionNumberText(value);
        else if (const auto field = recordFields().constFind(key); field != recordFields().cend())
            records[slot - 1].*(*field) = value;
    }
}

bool readSessionFile(const QString &path, SessionHeader &header, SessionRecords &records)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return false;
    parseSessionFile(*lines, header, records);
    return true;
}

void clearSessionRecords(SessionRecords &records)
{
    for (SessionRecord &record : records) {
        record = SessionRecord();
        record.otv_user = QStringLiteral("0");
        record.otv_ver = QStringLiteral("0");
    }
}
