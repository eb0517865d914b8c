#include "network/watchedsession.h"

#include "core/datafiles.h"
#include "core/textfile.h"
#include "network/pupilstatus.h"

namespace {
// The first slot up to max without a question, less one; all of max when every slot has one.
// Never below 1, so that a damaged max still leaves a question to show.
int lastRecordedOf(const WatchedSession &session)
{
    const int max = qBound(0, session.header.questionCount, SessionSlots);
    for (int j = 1; j <= max; ++j) {
        if (session.records.at(j - 1).question.isEmpty())
            return qMax(1, j - 1 > 0 ? j - 1 : max);
    }
    return qMax(1, max);
}

bool beginsNewTest(const PupilStatus &progress, const FileStamp &progressStamp,
                   const FileStamp &sessionStamp)
{
    return progress.hasPupil() && !progress.graded() && progress.currentQuestion.value_or(1) <= 1 &&
           progressStamp.exists &&
           (!sessionStamp.exists || progressStamp.modifiedMs > sessionStamp.modifiedMs);
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

WatchedSession WatchedSession::firstQuestionOf(const PupilStatus &progress)
{
    WatchedSession session;
    session.awaitingFirstAnswer = true;
    session.header.firstName = progress.firstName;
    session.header.surname = progress.surname;
    session.header.testName = progress.testName;
    session.header.questionCount = progress.questionCount.value_or(0);
    return session;
}

WatchLook WatchLook::take(const QString &programFolder, const WatchedFiles &seen, qint64 now)
{
    const QString folder = programFolderPath(programFolder);
    const QString sessionFile = QStringLiteral("data/") + datafiles::SessionFile;
    WatchLook look;
    look.session = stampIn(folder, sessionFile);
    look.progress = stampIn(folder, QStringLiteral("data/") + datafiles::ProgressFile);
    look.read = seen.mustRead(look.session, look.progress, now);
    if (!look.read)
        return look;
    const PupilStatus progress = pupilstatus::read(folder, PupilStatus());
    if (!progress.damaged && beginsNewTest(progress, look.progress, look.session)) {
        look.status = pupilfiles::Status::Done;
        look.watched = WatchedSession::firstQuestionOf(progress);
        return look;
    }
    const pupilfiles::Contents contents =
        pupilfiles::read(folder, sessionFile, pupilfiles::StateFileLimit);
    look.status = contents.status;
    if (contents.status == pupilfiles::Status::Done)
        look.watched =
            WatchedSession::fromLines(textfile::splitLines(textfile::decode1251(contents.bytes)));
    return look;
}

bool WatchedFiles::mustRead(const FileStamp &session, const FileStamp &progress, qint64 now) const
{
    return m_session.mustRead(session, now) || m_progress.mustRead(progress, now);
}

void WatchedFiles::looked(const WatchLook &look, qint64 now, qint64 wallNow)
{
    if (look.read && look.status != pupilfiles::Status::Done)
        return;
    m_session.update(look.session, look.read, now, wallNow);
    m_progress.update(look.progress, look.read, now, wallNow);
}
