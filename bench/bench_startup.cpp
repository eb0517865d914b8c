// Start-up to the main menu on the demo data, offscreen, with a scripted login and without the
// splash window's fixed wait: the work it takes and the peak resident memory.
#include "app/application.h"
#include "app/mainmenu.h"
#include "benchsupport.h"
#include "ui/skinbutton.h"
#include "users/loginwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void logInWhenShown(Application &application)
{
    QTimer::singleShot(0, [&application] {
        QWidget *login = application.windows.find<LoginWindow>();
        login->findChild<QLineEdit *>(QStringLiteral("Текст1"))->setText(QStringLiteral("vedok"));
        login->findChild<QLineEdit *>(QStringLiteral("Текст2"))->setText(QStringLiteral("vedok"));
        login->findChild<QLineEdit *>(QStringLiteral("Текст3"))->setText(QStringLiteral("vedok"));
        login->findChild<SkinButton *>(QStringLiteral("Комманда1"))->click();
    });
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const qint64 toolkit = clock.elapsed();
    QTemporaryDir program;
    copyTree(QStringLiteral(TARVEL_DEMO_DATA), program.filePath(QStringLiteral("data")));
    clock.restart();
    Application application(program.path(), false);
    logInWhenShown(application);
    if (!application.login())
        return 1;
    MainMenu *menu = application.startMenu(-1);
    QApplication::processEvents();
    const qint64 work = clock.elapsed();
    std::printf("start-up to the main menu: %lld ms of work (after %lld ms of toolkit start), "
                "menu visible: %s, peak resident memory %.1f MB\n",
                static_cast<long long>(work), static_cast<long long>(toolkit),
                menu->isVisible() ? "yes" : "no", peakResidentMegabytes());
    return menu->isVisible() ? 0 : 1;
}
