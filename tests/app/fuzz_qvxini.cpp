#include "app/viewers.h"
#include "fuzzsupport.h"

// The registry update keeps exactly one pair of this course and every other line in order.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList registry = fuzzLines(data, size);
    const QString dataPath = QStringLiteral("/opt/tarvel/data");
    const auto updated = viewers::updatedRegistry(registry, dataPath);
    if (!updated)
        return 0;
    if (viewers::updatedRegistry(*updated, dataPath))
        __builtin_trap(); // a second start changes nothing
    return 0;
}
