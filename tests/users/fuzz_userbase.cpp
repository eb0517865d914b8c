#include "fuzzsupport.h"
#include "users/userbase.h"

// The user base read, written and read again must give the same records.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const UserBase base = UserBase::fromLines(fuzzLines(data, size));
    const UserBase again = UserBase::fromLines(base.toLines());
    if (again.records.size() != base.records.size())
        __builtin_trap();
    for (qsizetype i = 0; i < base.records.size(); ++i) {
        if (again.records.at(i).firstName != textfile::oneLine(base.records.at(i).firstName))
            __builtin_trap();
    }
    base.find(QStringLiteral("vedok"), QStringLiteral("vedok"), QStringLiteral("vedok"));
    return 0;
}
