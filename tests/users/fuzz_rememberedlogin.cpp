#include "fuzzsupport.h"
#include "users/loginflow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const RememberedLogin login = RememberedLogin::read(fuzzFile(data, size, "sv11.jpg"));
    if (login.box == RememberedLogin::Box::Missing)
        __builtin_trap(); // the file exists, so its state is always known
    return 0;
}
