#include "core/sessionstate.h"
#include "fuzzsupport.h"
#include "testing/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SessionState session;
    parseTestCatalogue(session, fuzzLines(data, size));
    return 0;
}
