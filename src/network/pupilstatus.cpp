#include "network/pupilstatus.h"

#include "core/datafiles.h"
#include "core/textfile.h"

namespace pupilstatus {

namespace {
QString *field(PupilStatus &status, const QString &key)
{
    if (key == QLatin1String("first"))
        return &status.first;
    if (key == QLatin1String("second"))
        return &status.second;
    if (key == QLatin1String("name"))
        return &status.name;
    if (key == QLatin1String("max"))
        return &status.max;
    if (key == QLatin1String("curr"))
        return &status.curr;
    if (key == QLatin1String("ok"))
        return &status.ok;
    if (key == QLatin1String("ocenka"))
        return &status.ocenka;
    return nullptr;
}

// The file holds 16-bit numbers: anything beyond is damage, never shown or counted as it stands.
QString valueOf(const QString &key, const QString &value)
{
    const bool number = key == u"max" || key == u"curr" || key == u"ok" || key == u"ocenka";
    if (value.isEmpty() || !number)
        return value;
    return QString::number(textfile::leadingInt16(value));
}
} // namespace

PupilStatus applyLines(const QStringList &lines, PupilStatus status)
{
    status.damaged = false;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines)) {
        if (!pair.hasValue)
            break;
        const QString key = pair.key.trimmed();
        if (QString *target = field(status, key))
            *target = valueOf(key, pair.value.trimmed());
        if (textfile::leadingNumber(status.ocenka) == 0)
            status.ocenka.clear();
    }
    return status;
}

PupilStatus fromContents(const pupilfiles::Contents &contents, const PupilStatus &previous)
{
    switch (contents.status) {
    case pupilfiles::Status::Missing:
        return PupilStatus();
    case pupilfiles::Status::Damaged: {
        PupilStatus damaged;
        damaged.damaged = true;
        return damaged;
    }
    case pupilfiles::Status::Failed:
        return previous;
    case pupilfiles::Status::Done:
        break;
    }
    const QStringList lines = textfile::splitLines(textfile::decode1251(contents.bytes));
    if (textfile::isClearMarker(lines))
        return previous;
    return applyLines(lines, previous);
}

PupilStatus read(const QString &programFolder, const PupilStatus &previous)
{
    return fromContents(pupilfiles::read(programFolder,
                                         QStringLiteral("data/") + datafiles::ProgressFile,
                                         pupilfiles::StateFileLimit),
                        previous);
}

Row row(int computer, const PupilStatus &status)
{
    Row r;
    r.user = QStringLiteral("№") + QString::number(computer);
    r.name = status.second;
    const QString max = status.max.isEmpty() ? QStringLiteral("100") : status.max;
    const QString curr = status.curr.isEmpty() ? QStringLiteral("1") : status.curr;
    r.maximum = qMax(1, textfile::leadingInt(max));
    r.value = qBound(r.minimum, textfile::leadingInt(curr), r.maximum);
    r.prav = status.ok + QLatin1Char('/') + max;
    r.curr = curr;
    r.ocenka = status.ocenka.trimmed() == QLatin1String("0") ? QString() : status.ocenka;
    if (status.damaged)
        r.name = DamagedText;
    if (status.second.isEmpty()) {
        r.prav.clear();
        r.curr.clear();
    }
    return r;
}

} // namespace pupilstatus
