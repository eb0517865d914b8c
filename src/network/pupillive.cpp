#include "network/pupillive.h"

#include "core/datafiles.h"
#include "core/folderclock.h"
#include "core/textfile.h"
#include "network/pupilfiles.h"
#include "network/pupilstatus.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/stat.h>
#endif

const QString PupilLive::NoConnectionText = QStringLiteral("нет связи");
const QString PupilLive::NoAnswerText = QStringLiteral("нет ответов");
const QString PupilLive::PauseText = QStringLiteral("пауза");

FileStamp stampOf(const QString &path)
{
#ifdef Q_OS_LINUX
    // Asked of the server itself: a network file system would otherwise answer from its cache
    // of attributes, up to a second old.
    struct statx info;
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_STATX_FORCE_SYNC,
                STATX_SIZE | STATX_MTIME, &info) != 0)
        return {};
    return {true, qint64(info.stx_size),
            qint64(info.stx_mtime.tv_sec) * 1000 + info.stx_mtime.tv_nsec / 1000000};
#else
    // A new QFileInfo without its cache: every look asks the file system again.
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified().toMSecsSinceEpoch()};
#endif
}

QString programFolderPath(const QString &programFolder)
{
    QString folder = QDir::fromNativeSeparators(programFolder);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

FileStamp stampIn(const QString &folder, const QString &relative)
{
    const FileStamp exact = stampOf(folder + relative);
    return exact.exists ? exact : stampOf(pupilfiles::pathOf(folder, relative));
}

qint64 steadyMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

bool StampWatch::mustRead(const FileStamp &stamp, qint64 now) const
{
    return !m_seen || stamp != m_stamp || (!m_rechecked && now - m_changedMs >= RecheckMs);
}

bool StampWatch::update(const FileStamp &stamp, bool read, qint64 now,
                        std::optional<qint64> shareNow)
{
    if (m_seen && stamp == m_stamp) {
        m_rechecked = m_rechecked || (read && now - m_changedMs >= RecheckMs);
        return false;
    }
    m_changedMs = m_seen || !shareNow ? now : now - qMax<qint64>(0, *shareNow - stamp.modifiedMs);
    m_stamp = stamp;
    m_seen = true;
    m_rechecked = false;
    return true;
}

namespace {
const QString progressFile = QStringLiteral("data/") + datafiles::ProgressFile;
const QString sessionFile = QStringLiteral("data/") + datafiles::SessionFile;
const QString answerTimeFile = QStringLiteral("data/jpg/") + datafiles::AnswerTimeFile;
constexpr qint64 AnswerTimeLimit = 1024;

std::optional<QString> answerTimeLine(const QString &folder)
{
    const pupilfiles::Contents contents = pupilfiles::read(folder, answerTimeFile, AnswerTimeLimit);
    if (contents.status != pupilfiles::Status::Done)
        return std::nullopt;
    return textfile::splitLines(textfile::decode1251(contents.bytes)).value(0);
}
} // namespace

PupilLook PupilLook::take(const QString &programFolder, const StampWatch &progress,
                          const StampWatch &dataFolder, qint64 now, const PupilStatus &previous,
                          bool withSession)
{
    const QString folder = programFolderPath(programFolder);
    PupilLook look;
    if (progress.seen() && !progress.stamp().exists) {
        // Not there at the last look, and a file cannot appear without changing its folder.
        look.dataFolder = stampOf(folder + QStringLiteral("data"));
        if (look.dataFolder->exists && !dataFolder.mustRead(*look.dataFolder, now))
            return look;
    }
    look.progress = stampOf(folder + progressFile);
    if (!look.progress.exists) {
        if (!look.dataFolder)
            look.dataFolder = stampOf(folder + QStringLiteral("data"));
        look.listed = true;
        look.progress = stampOf(pupilfiles::pathOf(folder, progressFile));
    }
    const bool dataThere = look.dataFolder && look.dataFolder->exists;
    if (!look.progress.exists && !dataThere && !QFileInfo(folder).isDir()) {
        look.failed = true;
        return look;
    }
    if (withSession)
        look.session = stampIn(folder, sessionFile);
    if (!progress.seen() && look.progress.exists)
        look.clockSkew = folderClockSkew(QFileInfo(pupilfiles::pathOf(folder, progressFile))
                                             .dir()
                                             .filePath(QStringLiteral("curr_test.clock")),
                                         textfile::replaceFile);
    if (!progress.mustRead(look.progress, now))
        return look;
    const pupilfiles::Contents contents =
        pupilfiles::read(folder, progressFile, pupilfiles::StateFileLimit);
    if (contents.status == pupilfiles::Status::Failed) {
        look.failed = true;
        return look;
    }
    look.read = true;
    look.status = pupilstatus::fromContents(contents, previous);
    look.answerSeconds = answerSecondsOf(answerTimeLine(folder));
    return look;
}

int answerSecondsOf(const std::optional<QString> &settingLine)
{
    const int minutes = datafiles::answerTimeSetting(settingLine);
    return minutes == datafiles::UnlimitedAnswerTime ? 0 : 60 * minutes + 1;
}

bool PupilLive::looked(const PupilLook &look, qint64 now, qint64 wallNow)
{
    const bool wasFailed = m_failed;
    m_lookingSince = -1;
    m_failed = look.failed;
    if (look.failed)
        return !wasFailed;
    if (look.clockSkew)
        m_clockSkew = look.clockSkew;
    const std::optional<qint64> shareNow =
        m_clockSkew ? std::optional<qint64>(wallNow + *m_clockSkew) : std::nullopt;
    if (look.dataFolder)
        m_dataFolder.update(*look.dataFolder, look.listed, now, shareNow);
    const bool changed = m_progress.update(look.progress, look.read, now, shareNow);
    const FileStamp session = look.session.value_or(FileStamp());
    const bool sessionChanged = m_session != session;
    m_session = session;
    if (look.read)
        m_answerSeconds = look.answerSeconds;
    return wasFailed || changed || sessionChanged || look.read;
}

bool PupilLive::wantsSession(qint64 now) const
{
    return m_answerSeconds > 0 && now - m_progress.changedMs() > m_answerSeconds * 1000;
}

bool PupilLive::lost(qint64 now) const
{
    return m_failed || (m_lookingSince >= 0 && now - m_lookingSince > LostAfterMs);
}

bool PupilLive::paused() const
{
    const FileStamp &progress = m_progress.stamp();
    return progress.exists && m_session.exists && m_session.modifiedMs > progress.modifiedMs;
}

bool PupilLive::stalled(qint64 now) const
{
    return m_answerSeconds > 0 && !paused() &&
           now - m_progress.changedMs() > m_answerSeconds * 1000 + StallGraceMs;
}

QString PupilLive::text(const PupilStatus &status, qint64 now) const
{
    // Before a lesson too: a computer that cannot be reached must not pass for an idle one.
    if (!status.hasPupil())
        return lost(now) ? NoConnectionText : QString();
    if (status.graded())
        return QStringLiteral("закончил, оценка ") + QString::number(status.grade);
    if (lost(now) || stalled(now))
        return NoConnectionText;
    if (paused())
        return PauseText;
    if (status.currentQuestion.value_or(1) <= 1)
        return NoAnswerText;
    return agoText(now - m_progress.changedMs());
}

QString agoText(qint64 ms)
{
    const qint64 seconds = qMax<qint64>(0, ms / 1000);
    if (seconds < 5)
        return QStringLiteral("только что");
    if (seconds < 60)
        return QString::number(seconds) + QStringLiteral(" с назад");
    if (seconds < 3600)
        return QString::number(seconds / 60) + QStringLiteral(" мин назад");
    return QString::number(seconds / 3600) + QStringLiteral(" ч назад");
}
