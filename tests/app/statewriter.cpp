// Rewrites curr_test.ini and temp1.ini in the folder COUNT times, in a process of its own,
// while a test reads them.
#include "statewriters.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const statewriters::Say say = [](const char *text) {
        std::fputs(text, stdout);
        std::fflush(stdout);
    };
    return statewriters::testFiles(say, QString::fromLocal8Bit(argv[1]), std::atol(argv[2]));
}
