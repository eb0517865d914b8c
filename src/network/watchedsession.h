#pragma once

#include "core/sessionfiles.h"
#include "network/pupilfiles.h"
#include "network/pupillive.h"
#include "network/pupilstatus.h"

#include <QString>
#include <QStringList>

// A pupil's temp1.ini as the watch window follows it: read by the test's own reader, with
// "clear" telling that there is no test and the last recorded question worked out.
struct WatchedSession
{
    bool noTest = false; // the file starts with "clear"
    // A new test is on its first question: temp1.ini still holds the test before it.
    bool awaitingFirstAnswer = false;
    SessionProgress header;
    SessionRecords records;
    int lastRecorded = 1; // 1..SessionSlots

    static WatchedSession fromLines(const QStringList &lines);
    // The new test that curr_test.ini tells of, with nothing recorded yet.
    static WatchedSession firstQuestionOf(const PupilStatus &progress);
};

class WatchedFiles;

// One look at the watched pupil's files, taken off the user-interface thread (blocking: a share
// may be slow): the stamps of temp1.ini and curr_test.ini and, when either changed, the test
// they tell of. A pupil on the first question of a test whose curr_test.ini was written after
// temp1.ini has begun a new test; temp1.ini then still holds the one before.
struct WatchLook
{
    FileStamp session;
    FileStamp progress;
    bool read = false;
    // Of temp1.ini: Done when `watched` holds what the pupil does.
    pupilfiles::Status status = pupilfiles::Status::Missing;
    WatchedSession watched;

    static WatchLook take(const QString &programFolder, const WatchedFiles &seen, qint64 now);
};

// The watched files as last seen. A look whose reading failed is not taken as seen, so the next
// look reads again even when the files have not changed.
class WatchedFiles
{
public:
    bool mustRead(const FileStamp &session, const FileStamp &progress, qint64 now) const;
    void looked(const WatchLook &look, qint64 now, qint64 wallNow);

private:
    StampWatch m_session;
    StampWatch m_progress;
};
