#include "app/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// Qt's own dialogs (file, print) speak Russian like the rest of the program: Qt's catalogue from
// the system, or from the translations folder beside the program where Qt was deployed with it.
static void installQtTranslation(QApplication &app)
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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Тарвел"));
    QApplication::setOrganizationName(QStringLiteral("Тарвел"));
    QApplication::setQuitOnLastWindowClosed(false);
    installQtTranslation(app);
    Application application(QApplication::applicationDirPath());
    return application.run();
}
