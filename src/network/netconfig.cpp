#include "network/netconfig.h"

#include "core/sessionstate.h"
#include "core/textfile.h"

namespace netconfig {

bool isConfigured(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    return lines && !textfile::isClearMarker(*lines);
}

QStringList toLines(const SessionState &session)
{
    const int count = qBound(0, int(session.NetCount), SessionState::MaxComputers);
    QStringList lines{QStringLiteral("number"), textfile::printNumber(count)};
    for (int i = 1; i <= count; ++i)
        lines << textfile::printNumber(i) << textfile::oneLine(session.NetPath.at(i - 1));
    return lines;
}

void applyLines(SessionState &session, const QStringList &lines)
{
    session.NetCount = qint16(
        qBound(0, textfile::leadingInt(lines.value(1).trimmed()), SessionState::MaxComputers));
    for (qsizetype at = 2; at + 1 < lines.size(); at += 2) {
        const int index = textfile::leadingInt(lines.at(at).trimmed());
        if (index >= 1 && index <= SessionState::MaxComputers)
            session.NetPath[index - 1] = lines.at(at + 1);
    }
}

QString folderOf(const QString &programFile)
{
    const qsizetype slash = qMax(programFile.lastIndexOf(u'/'), programFile.lastIndexOf(u'\\'));
    return programFile.left(slash + 1);
}

} // namespace netconfig

void loadNetConfig(SessionState &session, const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines || textfile::isClearMarker(*lines))
        return;
    netconfig::applyLines(session, *lines);
}

bool saveNetConfig(const SessionState &session, const QString &path)
{
    return textfile::writeLines(path, netconfig::toLines(session));
}
