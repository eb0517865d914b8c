#include "app/application.h"

#include "app/adminwindow.h"
#include "app/mainmenu.h"
#include "app/registration.h"
#include "app/splash.h"
#include "app/startup.h"
#include "core/datafiles.h"
#include "testing/resume.h"
#include "testing/resumeoffer.h"
#include "testing/testnavigation.h"
#include "testing/testsettings.h"
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
    session.ShowErrorsSetting = readShowErrorsSetting(session.jpgPath(datafiles::ShowErrorsFile));
    if (continueInterruptedTest())
        return windows.find<MainMenu>();
    deleteStaleTestFiles(session);
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
    endInterruptedTest(session, *test);
    deleteStaleTestFiles(session);
    startTestAnew(context, *test);
    return true;
}

void Application::tellLostTests()
{
    QStringList notices = takeLostTestNotices(session);
    if (const std::optional<LostTest> lost = findLostTest(session))
        notices << settleLostTest(session, *lost);
    if (!notices.isEmpty())
        InfoWindow::tell(context, notices.join(QStringLiteral("\n\n")));
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
