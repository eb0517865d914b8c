#include "fuzzsupport.h"
#include "reading/pagetext.h"
#include "reading/paragraphrecord.h"

// The description file and the page decoder take any bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = fuzzLines(data, size);
    for (const QString &line : lines) {
        const ParagraphRecord record = ParagraphRecord::find(lines, line);
        if (record.hasTest() && record.lookup != ParagraphRecord::Lookup::Found)
            __builtin_trap();
    }
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    pagetext::decodePage(bytes);
    return 0;
}
