// Runs a test program on a private desk of its own:
//   tarvel_desk [--wm] [--accessibility] [--screen WIDTHxHEIGHT] PROGRAM [ARGUMENTS...]
// Exits with the program's exit code; with 77 (skipped) when a program the desk needs is not
// installed, and with 1 when the desk could not be set up, saying what failed.
#include "privatedesk.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "tarvel_desk: %s\n", qPrintable(text));
}

bool parse(QStringList &args, PrivateDesk::Options &options)
{
    while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        if (option == QStringLiteral("--wm")) {
            options.windowManager = true;
        } else if (option == QStringLiteral("--accessibility")) {
            options.accessibility = true;
        } else if (option == QStringLiteral("--screen") && !args.isEmpty()) {
            const QStringList size = args.takeFirst().split(u'x');
            options.screen = QSize(size.value(0).toInt(), size.value(1).toInt());
            if (options.screen.isEmpty())
                return false;
        } else {
            return false;
        }
    }
    return !args.isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    PrivateDesk::Options options;
    if (!parse(args, options)) {
        say(QStringLiteral("usage: tarvel_desk [--wm] [--accessibility] [--screen WxH] PROGRAM "
                           "[ARGUMENTS...]"));
        return 2;
    }
    PrivateDesk desk(options);
    if (const QString fault = desk.start(); !fault.isEmpty()) {
        say(fault);
        return desk.programMissing() ? 77 : 1;
    }
    QProcess program;
    program.setProcessEnvironment(desk.environment());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    stopWithParent(program);
    program.start(args.first(), args.mid(1));
    if (!program.waitForStarted(30000)) {
        say(args.first() + QStringLiteral(" did not start: ") + program.errorString());
        return 1;
    }
    program.waitForFinished(-1);
    const bool passed = program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
    if (!passed)
        say(QStringLiteral("the program failed on display %1.\n").arg(desk.display()) + desk.log());
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : 1;
}
