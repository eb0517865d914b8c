#include "fuzzsupport.h"
#include "network/pupilfiles.h"
#include "network/watchedsession.h"
#include "testing/sessionfiles.h"

#include <memory>

// The watch window's reading of temp1.ini: the last recorded question is a valid slot, and
// the questions it sees are those the test's own reader sees.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (qint64(size) > pupilfiles::StateFileLimit)
        return 0;
    fuzzFile(data, size, QStringLiteral("data/temp1.ini"));
    const std::optional<WatchedSession> watched = WatchedSession::read(fuzzFolder());
    if (!watched)
        __builtin_trap();
    if (watched->lastRecorded < 1 || watched->lastRecorded > WatchedSession::Slots)
        __builtin_trap();
    if (watched->noTest)
        return 0;
    SessionHeader header;
    auto records = std::make_unique<SessionRecords>();
    clearSessionRecords(*records);
    parseSessionFile(fuzzLines(data, size), header, *records);
    for (int i = 0; i < WatchedSession::Slots; ++i) {
        const WatchedQuestion &question = watched->slots.at(i);
        const SessionRecord &record = records->at(i);
        if (question.tema != record.tema || question.vop != record.vop ||
            question.ris != record.ris)
            __builtin_trap();
        for (int k = 1; k <= 5; ++k) {
            if (question.otv.at(k - 1) != record.otv(k))
                __builtin_trap();
        }
    }
    return 0;
}
