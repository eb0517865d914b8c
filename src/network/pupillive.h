#pragma once

#include "network/pupilstatus.h"

#include <QString>

#include <optional>

// The size and modification time of a file, taken afresh at every look: a change of either
// says that the file was rewritten.
struct FileStamp
{
    bool exists = false;
    qint64 size = -1;
    qint64 modifiedMs = 0; // since the epoch, by the clock of the computer that wrote the file

    bool operator==(const FileStamp &) const = default;
};

// Blocking: a share may take long to answer.
FileStamp stampOf(const QString &path);
// A pupil's program folder as a path ending in "/".
QString programFolderPath(const QString &programFolder);
// The stamp of `relative` ("data/temp1.ini") below such a path: the name the pupil's program
// writes is tried first, other letter cases cost a listing.
FileStamp stampIn(const QString &folder, const QString &relative);

// The steady clock the live view measures time with, in milliseconds.
qint64 steadyMs();

// Whether a file must be read: when its stamp changed, and once more a while after a change,
// since a rewrite within the same tick of a coarse file clock (two seconds on some shares)
// keeps the stamp.
class StampWatch
{
public:
    static constexpr qint64 RecheckMs = 2500;

    const FileStamp &stamp() const { return m_stamp; }
    bool seen() const { return m_seen; }
    // When the file was last seen to change, on the steady clock.
    qint64 changedMs() const { return m_changedMs; }

    bool mustRead(const FileStamp &stamp, qint64 now) const;
    // Takes the stamp of a look and whether the file was read; true when the stamp differs from
    // the last one. The first stamp of a file dates its change by the file's own time measured
    // against `shareNow`, the time on the clock that dates the file, never later than now; by
    // now when that clock is not known.
    bool update(const FileStamp &stamp, bool read, qint64 now, std::optional<qint64> shareNow);

private:
    FileStamp m_stamp;
    qint64 m_changedMs = 0;
    bool m_seen = false;
    bool m_rechecked = false;
};

// One look at a pupil's program folder, taken off the user-interface thread: the stamp of
// curr_test.ini, that of temp1.ini when asked for, and, when the progress stamp asks for it,
// curr_test.ini and the answer time read afresh. While curr_test.ini is not there, only its
// data folder is looked at, and the file is looked for (also under its name in another letter
// case) when the folder changed: before a lesson a whole classroom would otherwise be listed
// twice a second.
struct PupilLook
{
    FileStamp progress;
    std::optional<FileStamp> dataFolder; // taken while curr_test.ini is not there
    bool listed = false;                 // curr_test.ini was looked for in the data folder
    std::optional<FileStamp> session;
    // The share's clock minus ours, measured at the first look at curr_test.ini; nothing when
    // not measured or when the share takes no write.
    std::optional<qint64> clockSkew;
    bool failed = false; // the share refused a read, or the program folder is gone
    bool read = false;   // status and answerSeconds were read afresh
    PupilStatus status;
    int answerSeconds = 0;

    static PupilLook take(const QString &programFolder, const StampWatch &progress,
                          const StampWatch &dataFolder, qint64 now, const PupilStatus &previous,
                          bool withSession);
};

// How long the pupil's clock waits before it gives the answer itself, from the first line of
// his answer-time file (nothing when the file is missing): 60 * S + 1 seconds for a setting
// of S minutes, 0 for no limit.
int answerSecondsOf(const std::optional<QString> &settingLine);

// What the teacher's program knows of one pupil between looks, on the steady clock.
class PupilLive
{
public:
    // A look that has not come back for this long: the share stopped answering.
    static constexpr qint64 LostAfterMs = 5000;
    // Beyond the answer time: the pupil's clock should have given an answer by then.
    static constexpr qint64 StallGraceMs = 30000;

    static const QString NoConnectionText;
    static const QString NoAnswerText;
    static const QString PauseText;

    const StampWatch &progress() const { return m_progress; }
    const StampWatch &dataFolder() const { return m_dataFolder; }

    void lookStarted(qint64 now) { m_lookingSince = now; }
    // Whether the next look takes the stamp of temp1.ini: only a pupil whose clock should
    // have answered by now may be taking a pause.
    bool wantsSession(qint64 now) const;
    // A look came back; true when the row it shows may have changed.
    bool looked(const PupilLook &look, qint64 now, qint64 wallNow);

    bool lost(qint64 now) const;
    // Answered the question on screen, and the next one has not come: the pupil takes a pause.
    bool paused() const;
    bool stalled(qint64 now) const;

    // The row's cell of the last answer: how long ago it was, or why that is not the point.
    QString text(const PupilStatus &status, qint64 now) const;

private:
    StampWatch m_progress;
    StampWatch m_dataFolder;
    FileStamp m_session;
    std::optional<qint64> m_clockSkew;
    int m_answerSeconds = 0;
    bool m_failed = false;
    qint64 m_lookingSince = -1;
};

// "12 с назад", "3 мин назад", "2 ч назад"; under five seconds "только что".
QString agoText(qint64 ms);
