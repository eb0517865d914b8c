#include "app/application.h"
#include "app/commandline.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

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
    return runCommandLine(QCoreApplication::arguments(), out, err);
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
} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = answerOnTheConsole(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setQuitOnLastWindowClosed(false);
    installQtTranslation(app);
    Application application(QApplication::applicationDirPath());
    return application.run();
}
