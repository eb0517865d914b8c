#include "core/sessionstate.h"
#include "fuzzsupport.h"
#include "network/classroom.h"
#include "network/netconfig.h"

// net.ini read into a classroom, written and read again gives the same configuration.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Classroom classroom;
    loadNetConfig(classroom, fuzzFile(data, size, "net.ini"));
    if (classroom.count() < 0 || classroom.count() > Classroom::MaxComputers)
        __builtin_trap();
    Classroom again;
    netconfig::applyLines(again, netconfig::toLines(classroom));
    if (again.count() != classroom.count())
        __builtin_trap();
    for (int i = 1; i <= classroom.count(); ++i) {
        if (again.folder(i) != textfile::oneLine(classroom.folder(i)))
            __builtin_trap();
    }
    return 0;
}
