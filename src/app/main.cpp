#include "app/application.h"
#include "app/commandline.h"
#include "network/sharereader.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {
void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Тарвел"));
    QCoreApplication::setOrganizationName(QStringLiteral("Тарвел"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEL_VERSION));
}

// The console answers (help, version, the bank check) need no display.
std::optional<int> consoleAnswer(int &argc, char **argv)
{
    QCoreApplication console(argc, argv);
    nameTheProgram();
    return answerOnTheConsole(QCoreApplication::arguments());
}

// Qt's own dialogs (file, print) speak Russian like the rest of the program: Qt's catalogue from
// the system, or from the translations folder beside the program where Qt was deployed with it.
void installQtTranslation(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString &folder : folders) {
        if (translator->load(russian, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
            QApplication::installTranslator(translator);
            return;
        }
    }
}
int runTheProgram(int &argc, char **argv)
{
    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setQuitOnLastWindowClosed(false);
    installQtTranslation(app);
    Application application(QApplication::applicationDirPath());
    return application.run();
}
} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = consoleAnswer(argc, argv))
        return *exitCode;
    const int exitCode = runTheProgram(argc, argv);
    // A read of a pupil computer that went off may still hang, and come back while the
    // program's static objects are being destroyed: the program ends without destroying them.
    // Every file was written and closed by the windows before.
    if (!shareReadersStopped(1000)) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
