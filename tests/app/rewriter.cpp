// Rewrites the file named by its first argument with two alternating contents until killed;
// says "ready" once the first is written.
#include "core/textfile.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    const QByteArray first(300000, 'a');
    const QByteArray second(200000, 'b');
    for (quint64 round = 0;; ++round) {
        if (!textfile::replaceFile(args.at(1), round % 2 ? second : first))
            return 1;
        if (round == 0) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
}
