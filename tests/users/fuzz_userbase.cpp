#include "fuzzsupport.h"
#include "users/userbase.h"

// The user base read from any bytes, written and read again must give the same records; a base
// found clean stays clean once written.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const UserBase base = UserBase::fromBytes(QByteArrayView(data, qsizetype(size)));
    const UserBase again = UserBase::fromBytes(base.toBytes());
    if (again.records != base.records)
        __builtin_trap();
    const QByteArrayView bytes(data, qsizetype(size));
    if (UserBase::check(bytes) == UserBase::Damage::None &&
        UserBase::check(base.toBytes()) != UserBase::Damage::None)
        __builtin_trap();
    base.find(QStringLiteral("vedok"), QStringLiteral("vedok"), QStringLiteral("vedok"));
    return 0;
}
