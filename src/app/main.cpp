#include "app/application.h"
#include "app/commandline.h"

#include <QApplication>
#include <QTextStream>

namespace {
void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Тарвел"));
    QCoreApplication::setOrganizationName(QStringLiteral("Тарвел"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEL_VERSION));
}

// The console answers (help, version, the bank check) need no display.
std::optional<int> answerOnTheConsole(int &argc, char **argv)
{
    QCoreApplication console(argc, argv);
    nameTheProgram();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCommandLine(QCoreApplication::arguments(), out, err);
}
} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = answerOnTheConsole(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setQuitOnLastWindowClosed(false);
    Application application(QApplication::applicationDirPath());
    return application.run();
}
