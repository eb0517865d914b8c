#include "fuzzsupport.h"
#include "testing/testsettings.h"

// The one-line settings files and the leading-number conversion behind every number read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    readShowErrorsSetting(fuzzFile(data, size, "sv10.jpg"));
    for (const QString &line : fuzzLines(data, size)) {
        const double number = textfile::leadingNumber(line);
        if (number != number)
            __builtin_trap(); // never NaN
        textfile::leadingInt(line);
        textfile::leadingInt16(line);
    }
    return 0;
}
