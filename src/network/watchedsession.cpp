#include "network/watchedsession.h"

#include "core/datafiles.h"
#include "core/textfile.h"
#include "network/pupilfiles.h"

namespace {
// The first slot up to max without a question, less one; all of max when every slot has one.
// Never below 1, so that a damaged max still leaves a question to show.
int lastRecordedOf(const WatchedSession &session)
{
    const int max = qBound(0, textfile::leadingInt(session.max), WatchedSession::Slots);
    for (int j = 1; j <= max; ++j) {
        if (session.slots.at(j - 1).vop.isEmpty())
            return qMax(1, j - 1 > 0 ? j - 1 : max);
    }
    return qMax(1, max);
}

void applyPair(WatchedSession &session, int &slot, const QString &key, const QString &value)
{
    if (key == QLatin1String("first"))
        session.first = value;
    else if (key == QLatin1String("second"))
        session.second = value;
    else if (key == QLatin1String("name"))
        session.name = value;
    else if (key == QLatin1String("max"))
        session.max = QString::number(textfile::leadingInt(value));
    else if (key == QLatin1String("ok"))
        session.ok = textfile::leadingInt16(value);
    else if (key == QLatin1String("ocenka"))
        session.ocenka = textfile::leadingInt16(value);
    else if (key == QLatin1String("tema")) {
        ++slot;
        if (slot <= WatchedSession::Slots)
            session.slots[slot - 1].tema = value;
    } else if (slot >= 1 && slot <= WatchedSession::Slots) {
        WatchedQuestion &question = session.slots[slot - 1];
        if (key == QLatin1String("vop"))
            question.vop = value;
        else if (key == QLatin1String("ris"))
            question.ris = value;
        else if (key == QLatin1String("otv_user"))
            question.otvUser = QString::number(textfile::leadingInt(value));
        else if (key.size() == 4 && key.startsWith(QLatin1String("otv")) && key[3] >= u'1' &&
                 key[3] <= u'5')
            question.otv[key[3].unicode() - u'1'] = value;
    }
}
} // namespace

WatchedSession WatchedSession::fromLines(const QStringList &lines)
{
    WatchedSession session;
    if (textfile::isClearMarker(lines)) {
        session.noTest = true;
        return session;
    }
    int slot = 0;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines)) {
        if (!pair.hasValue)
            break;
        applyPair(session, slot, pair.key.trimmed(), pair.value.trimmed());
    }
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
