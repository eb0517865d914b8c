#include "fuzzsupport.h"
#include "network/pupilstatus.h"

// The monitor's reading of curr_test.ini: the row it shows always has a valid progress range,
// a "clear" file keeps the status read before.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    PupilStatus previous;
    previous.surname = QStringLiteral("Иванов");
    previous.questionCount = 10;
    fuzzFile(data, size, QStringLiteral("data/curr_test.ini"));
    const PupilStatus status = pupilstatus::read(fuzzFolder(), previous);
    if (qint64(size) > pupilfiles::StateFileLimit && !status.damaged)
        __builtin_trap();
    const QStringList lines = fuzzLines(data, size);
    if (textfile::isClearMarker(lines) && !status.damaged && status.surname != previous.surname)
        __builtin_trap();
    for (const PupilStatus &shown : {status, pupilstatus::applyLines(lines, PupilStatus())}) {
        const pupilstatus::Row row = pupilstatus::row(7, shown);
        if (row.maximum < row.minimum || row.value < row.minimum || row.value > row.maximum)
            __builtin_trap();
    }
    return 0;
}
