#include "network/watchedsession.h"

#include "core/datafiles.h"
#include "core/textfile.h"
#include "network/pupilfiles.h"

namespace {
// The first slot up to max without a question, less one; all of max when every slot has one.
// Never below 1, so that a damaged max still leaves a question to show.
int lastRecordedOf(const WatchedSession &session)
{
    const int max = qBound(0, textfile::leadingInt(session.header.max), SessionSlots);
    for (int j = 1; j <= max; ++j) {
        if (session.records.at(j - 1).vop.isEmpty())
            return qMax(1, j - 1 > 0 ? j - 1 : max);
    }
    return qMax(1, max);
}
} // namespace

WatchedSession WatchedSession::fromLines(const QStringList &lines)
{
    WatchedSession session;
    if (textfile::isClearMarker(lines)) {
        session.noTest = true;
        return session;
    }
    parseSessionFile(lines, session.header, session.records);
    session.lastRecorded = lastRecordedOf(session);
    return session;
}

std::optional<WatchedSession> WatchedSession::read(const QString &programFolder)
{
    const pupilfiles::Contents contents =
        pupilfiles::read(programFolder, QStringLiteral("data/") + datafiles::SessionFile,
                         pupilfiles::StateFileLimit);
    if (contents.status != pupilfiles::Status::Done)
        return std::nullopt;
    return fromLines(textfile::splitLines(textfile::decode1251(contents.bytes)));
}
