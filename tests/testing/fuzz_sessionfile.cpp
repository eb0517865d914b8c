#include "core/sessionfiles.h"
#include "fuzzsupport.h"

#include <memory>

namespace {
struct Parsed
{
    SessionProgress header;
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
    progress.firstName = first->header.firstName;
    progress.surname = first->header.surname;
    progress.testName = first->header.testName;
    progress.questionCount = first->header.questionCount;
    progress.rightAnswers = first->header.rightAnswers;
    progress.grade = first->header.grade;
    const auto again = parse(sessionFileLines(progress, first->records));
    const Parsed &a = *first;
    const Parsed &b = *again;
    if (b.header.firstName != a.header.firstName || b.header.surname != a.header.surname ||
        b.header.testName != a.header.testName || b.header.rightAnswers != a.header.rightAnswers ||
        b.header.grade != a.header.grade || b.header.questionCount != a.header.questionCount)
        __builtin_trap();
    const int slots = qBound(0, progress.questionCount, SessionSlots);
    for (int i = 0; i < slots; ++i) {
        const SessionRecord &x = a.records[i];
        const SessionRecord &y = b.records[i];
        if (x.topic != y.topic || x.question != y.question || x.picture != y.picture ||
            x.answers != y.answers || x.chosenAnswer != y.chosenAnswer ||
            x.rightAnswer != y.rightAnswer)
            __builtin_trap();
    }
    SessionProgress header;
    auto records = std::make_unique<SessionRecords>();
    readSessionFile(fuzzFile(data, size, QStringLiteral("temp1.ini")), header, *records);
    return 0;
}
