#include "app/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "testing/achievements.h"
#include "testing/errorwindow.h"
#include "testing/resultwindow.h"
#include "testing/testchoice.h"
#include "testing/testintro.h"
#include "testing/testwindow.h"

void registerTestingWindows(AppContext &context)
{
    WindowHub &hub = context.windows;
    hub.registerWindow(QStringLiteral("frmTestCh"),
                       [&context] { return new TopicTestChoiceWindow(context); });
    hub.registerWindow(QStringLiteral("frmFullTest"),
                       [&context] { return new TestIntroWindow(context); });
    hub.registerWindow(QStringLiteral("fullTST"), [&context] { return new TestWindow(context); });
    hub.registerWindow(QStringLiteral("frmFULLtestEND"),
                       [&context] { return new ResultWindow(context); });
    hub.registerWindow(QStringLiteral("frmWRONG"),
                       [&context] { return new ErrorReviewWindow(context); });
    hub.registerWindow(QStringLiteral("frmDOSTIG"),
                       [&context] { return new AchievementsWindow(context); });
}
