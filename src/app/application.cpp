#include "app/application.h"

#include "app/adminwindow.h"
#include "app/mainmenu.h"
#include "app/registration.h"
#include "app/splash.h"
#include "app/startup.h"
#include "core/datafiles.h"
#include "core/whenfinished.h"
#include "testing/resume.h"
#include "testing/resumeoffer.h"
#include "testing/testnavigation.h"
#include "users/loginwindow.h"
#include "users/messagewindows.h"

#include <QApplication>
#include <QRandomGenerator>

Application::Application(const QString &programFolder, bool audible) : cues(session, audible)
{
    startSession(session, programFolder);
    registerAllWindows(context);
}

bool Application::login()
{
    auto *window = windows.load<LoginWindow>();
    const bool identified = window->exec();
    window->close(); // the unload stores or clears the remembered login
    return identified;
}

MainMenu *Application::startMenu(int splashMs)
{
    // A test running in another program on this computer is neither offered, nor lost, nor
    // cleared away.
    if (!testRunsNow(session)) {
        if (continueInterruptedTest())
            return windows.find<MainMenu>();
        deleteStaleTestFiles(session);
    }
    SplashWindow *splash = nullptr;
    if (splashMs >= 0) {
        splash = windows.load<SplashWindow>();
        splash->show();
        for (int i = 0; i < 5; ++i)
            splash->repaint();
    }
    auto *menu = windows.load<MainMenu>();
    if (!splash)
        menu->show();
    return menu;
}

bool Application::continueInterruptedTest()
{
    const std::optional<InterruptedTest> test =
        findInterruptedTest(session, *QRandomGenerator::global());
    if (!test) {
        tellLostTests();
        return false;
    }
    const bool goOn = ResumeOfferWindow::ask(context, interruptedTestQuestion(*test));
    windows.load<MainMenu>();
    if (goOn) {
        goOnWithTest(context, *test);
        return true;
    }
    tellWhenNotStored(context, endInterruptedTest(session, *test), test->test->bank.name,
                      session.jpgPath(datafiles::UserBaseFile));
    deleteStaleTestFiles(session);
    startTestAnew(context, *test);
    return true;
}

void Application::tellLostTests()
{
    const QStringList notices = takeLostTestNotices(session);
    const std::optional<LostTest> lost = findLostTest(session);
    QFuture<QStringList> settled =
        lost ? settleLostTest(session, *lost) : QtFuture::makeReadyFuture(QStringList());
    whenFinished(settled, QCoreApplication::instance(),
                 [this, notices](const QStringList &lostNotices) {
                     const QStringList all = notices + lostNotices;
                     if (!all.isEmpty())
                         InfoWindow::tell(context, all.join(QStringLiteral("\n\n")));
                 });
}

int Application::run()
{
    if (!login())
        return 0;
    startMenu();
    return QApplication::exec();
}

void registerAppWindows(AppContext &context)
{
    WindowHub &windows = context.windows;
    windows.addMenu<MainMenu>(WindowHub::Menu::Main, [&context] { return new MainMenu(context); });
    windows.addMenu<AdminWindow>(WindowHub::Menu::Admin,
                                 [&context] { return new AdminWindow(context); });
    registerWindows<SplashWindow>(context);
}
