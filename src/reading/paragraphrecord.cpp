#include "reading/paragraphrecord.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"

ParagraphRecord ParagraphRecord::find(const QStringList &lines, const QString &paragraph)
{
    ParagraphRecord record;
    const qsizetype start = textfile::indexAfterStart(lines, true);
    if (start < 0) {
        record.lookup = Lookup::Unusable;
        return record;
    }
    const QList<textfile::KeyValue> pairs = textfile::readPairs(lines, start);
    const QString wanted = paragraph.trimmed();
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const textfile::KeyValue &pair = pairs.at(i);
        if (pair.key.trimmed() != QLatin1String("name") || pair.value.trimmed() != wanted)
            continue;
        record.lookup = Lookup::Found;
        if (i + 2 < pairs.size() && pairs.at(i + 2).key.trimmed() == QLatin1String("test"))
            record.test = pairs.at(i + 2).value.trimmed();
        return record;
    }
    return record;
}

bool ParagraphRecord::hasTest() const
{
    return lookup == Lookup::Found && !test.isEmpty() && test != QLatin1String("n");
}

QStringList paragraphTestBanks(const QStringList &lines)
{
    QStringList banks;
    const qsizetype start = textfile::indexAfterStart(lines, true);
    if (start < 0)
        return banks;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines, start)) {
        const QString test = pair.value.trimmed();
        if (pair.key.trimmed() == QLatin1String("test") && !test.isEmpty() &&
            test != QLatin1String("n") && !banks.contains(test, Qt::CaseInsensitive))
            banks << test;
    }
    return banks;
}

ParagraphRecord readParagraphRecord(const SessionState &session, const QString &paragraph)
{
    const std::optional<QStringList> lines =
        textfile::readLines(session.jpgPath(datafiles::TestDescriptionFile));
    if (!lines)
        return {ParagraphRecord::Lookup::Unusable, {}};
    return ParagraphRecord::find(*lines, paragraph);
}
