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
    const WatchLook look = WatchLook::take(fuzzFolder(), WatchedFiles(), 0);
    if (look.status != pupilfiles::Status::Done)
        __builtin_trap();
    if (look.watched.lastRecorded < 1 || look.watched.lastRecorded > SessionSlots)
        __builtin_trap();
    return 0;
}
