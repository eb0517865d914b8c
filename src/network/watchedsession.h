#pragma once

#include "core/sessionfiles.h"

#include <QString>
#include <QStringList>

#include <optional>

// A pupil's temp1.ini as the watch window follows it: read by the test's own reader, with
// "clear" telling that there is no test and the last recorded question worked out.
struct WatchedSession
{
    bool noTest = false; // the file starts with "clear"
    SessionHeader header;
    SessionRecords records;
    int lastRecorded = 1; // 1..SessionSlots

    static WatchedSession fromLines(const QStringList &lines);
    // The file below a pupil's program folder; nothing when it is missing, cannot be read, is
    // too big or is not a regular file (blocking: a share may be slow).
    static std::optional<WatchedSession> read(const QString &programFolder);
};
