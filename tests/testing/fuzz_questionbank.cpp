#include "fuzzsupport.h"
#include "testing/questionbank.h"

#include <QRandomGenerator>

#include <memory>

// A bank that parses is a playable test: at least one and at most the test's number of
// questions, every answer number within 0..5, and a question order that draws each once.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QRandomGenerator random(size);
    const auto test = std::make_unique<PreparedTest>(
        parseQuestionBank(fuzzLines(data, size), QStringLiteral("fuzz.jpg"), random));
    if (!test->ok())
        return 0;
    const QuestionBank &bank = test->bank;
    if (bank.questionCount() < 1 || bank.questionCount() > QuestionBank::MaxTestQuestions)
        __builtin_trap();
    for (int r = 0; r <= bank.lastIndex; ++r) {
        if (bank.records[r].question.isEmpty())
            __builtin_trap();
        if (r > 0 && (bank.records[r].correct < 0 || bank.records[r].correct > 5))
            __builtin_trap();
    }
    const QList<int> order = drawQuestionOrder(bank.lastIndex, random);
    QList<bool> seen(bank.questionCount(), false);
    for (const int index : order) {
        if (index < 0 || index > bank.lastIndex || seen[index])
            __builtin_trap();
        seen[index] = true;
    }
    if (order.size() != bank.questionCount())
        __builtin_trap();
    return 0;
}
