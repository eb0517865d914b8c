#include "core/sessionstate.h"
#include "fuzzsupport.h"
#include "network/netconfig.h"

// net.ini read into the session, written and read again gives the same configuration.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SessionState session;
    loadNetConfig(session, fuzzFile(data, size, "net.ini"));
    if (session.NetCount < 0 || session.NetCount > SessionState::MaxComputers)
        __builtin_trap();
    SessionState again;
    netconfig::applyLines(again, netconfig::toLines(session));
    if (again.NetCount != session.NetCount)
        __builtin_trap();
    for (int i = 0; i < session.NetCount; ++i) {
        if (again.NetPath[i] != textfile::oneLine(session.NetPath[i]))
            __builtin_trap();
    }
    return 0;
}
