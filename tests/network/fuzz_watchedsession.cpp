#include "fuzzsupport.h"
#include "network/pupilfiles.h"
#include "network/watchedsession.h"

// The watch window's reading of temp1.ini from a pupil's folder: any file within the limit is
// read, and the last recorded question is a valid slot.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (qint64(size) > pupilfiles::StateFileLimit)
        return 0;
    fuzzFile(data, size, QStringLiteral("data/temp1.ini"));
    const std::optional<WatchedSession> watched = WatchedSession::read(fuzzFolder());
    if (!watched)
        __builtin_trap();
    if (watched->lastRecorded < 1 || watched->lastRecorded > SessionSlots)
        __builtin_trap();
    return 0;
}
