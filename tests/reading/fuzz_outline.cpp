#include "fuzzsupport.h"
#include "reading/outline.h"
#include "reading/readingorder.h"

#include <QSet>

// Every node of any outline resolves without a crash, and where no paragraph title is
// repeated, walking the reading order forward from any line ends after at most as many steps
// as there are paragraphs (a repeated title sends the walk back to its first place).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = fuzzLines(data, size);
    const Outline outline = Outline::fromLines(lines);
    outline.resolve(Outline::rootKey());
    for (int n = 0; n <= outline.sections.size() + 1; ++n) {
        outline.resolve(Outline::sectionKey(n));
        for (int k = 0; k <= 3; ++k)
            outline.resolve(Outline::itemKey(n, k));
    }
    const ReadingOrder order = ReadingOrder::fromLines(lines);
    const QSet<QString> distinct(order.titles().cbegin(), order.titles().cend());
    const bool unique = distinct.size() == order.titles().size();
    for (const QString &line : lines) {
        order.previous(line);
        if (!unique)
            continue;
        QString title = line;
        for (qsizetype steps = 0; !title.isEmpty(); ++steps) {
            if (steps > order.titles().size() + 1)
                __builtin_trap();
            title = order.next(title);
        }
    }
    return 0;
}
