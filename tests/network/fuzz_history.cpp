#include "fuzzsupport.h"
#include "network/resultslog.h"

#include <QFileInfo>

// Appending a block to any history keeps every line it had and adds the block after them;
// the copy for viewing holds the same lines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString history = fuzzFile(data, size, QStringLiteral("7_12.jpg"));
    const QString temporary = QFileInfo(history).dir().filePath(QStringLiteral("7_13.jpg"));
    const QString view = QFileInfo(history).dir().filePath(QStringLiteral("htm/history.txt"));
    const QStringList block{QStringLiteral("Результаты теста"), resultslog::BlockEnd};
    // Stored as the program writes text: one code-page round trip.
    const QStringList expected =
        textfile::splitLines(textfile::decode1251(textfile::joinLines(fuzzLines(data, size)))) +
        block;
    if (resultslog::appendHistory(history, temporary, block) != resultslog::HistorySave::Saved)
        __builtin_trap();
    if (textfile::readLines(history) != expected || QFileInfo::exists(temporary))
        __builtin_trap();
    if (!resultslog::copyHistory(history, view) || textfile::readLines(view) != expected)
        __builtin_trap();
    return 0;
}
