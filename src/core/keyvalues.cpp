#include "core/keyvalues.h"

namespace textfile {

QList<KeyValue> readPairs(const QStringList &lines, qsizetype from)
{
    QList<KeyValue> pairs;
    for (qsizetype i = qMax<qsizetype>(from, 0); i < lines.size(); i += 2) {
        if (i + 1 < lines.size())
            pairs.append({lines.at(i), lines.at(i + 1), true});
        else
            pairs.append({lines.at(i), QString(), false});
    }
    return pairs;
}

qsizetype indexAfterStart(const QStringList &lines, bool trimmed)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if ((trimmed ? lines.at(i).trimmed() : lines.at(i)) == QLatin1String("start"))
            return i + 1;
    }
    return -1;
}

bool isClearMarker(const QStringList &lines)
{
    return !lines.isEmpty() && lines.first().trimmed() == QLatin1String("clear");
}

} // namespace textfile
