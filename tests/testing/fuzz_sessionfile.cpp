#include "core/sessionfiles.h"
#include "fuzzsupport.h"

#include <memory>

namespace {
struct Parsed
{
    SessionHeader header;
    SessionRecords records;
};

std::unique_ptr<Parsed> parse(const QStringList &lines)
{
    auto parsed = std::make_unique<Parsed>();
    clearSessionRecords(parsed->records);
    parseSessionFile(lines, parsed->header, parsed->records);
    return parsed;
}
} // namespace

// temp1.ini read, written and read again gives the same header and recorded questions.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto first = parse(fuzzLines(data, size));
    SessionProgress progress;
    progress.first = first->header.first;
    progress.second = first->header.second;
    progress.name = first->header.name;
    progress.max = textfile::leadingInt(first->header.max);
    progress.ok = first->header.ok;
    progress.grade = first->header.grade;
    const auto again = parse(sessionFileLines(progress, first->records));
    const Parsed &a = *first;
    const Parsed &b = *again;
    if (b.header.first != a.header.first || b.header.second != a.header.second ||
        b.header.name != a.header.name || b.header.ok != a.header.ok ||
        b.header.grade != a.header.grade ||
        textfile::leadingInt(b.header.max) != textfile::leadingInt(a.header.max))
        __builtin_trap();
    const int slots = qBound(0, progress.max, SessionSlots);
    for (int i = 0; i < slots; ++i) {
        const SessionRecord &x = a.records[i];
        const SessionRecord &y = b.records[i];
        // A number missing from the file keeps its cleared form "0", the reader's form is " 0".
        if (x.tema != y.tema || x.vop != y.vop || x.ris != y.ris ||
            sessionNumberText(x.otv_user) != y.otv_user ||
            sessionNumberText(x.otv_ver) != y.otv_ver)
            __builtin_trap();
        for (int k = 1; k <= 5; ++k) {
            if (x.otv(k) != y.otv(k))
                __builtin_trap();
        }
    }
    SessionHeader header;
    auto records = std::make_unique<SessionRecords>();
    readSessionFile(fuzzFile(data, size, QStringLiteral("temp1.ini")), header, *records);
    return 0;
}
