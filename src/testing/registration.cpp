#include "testing/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "testing/achievements.h"
#include "testing/bankeditorwindow.h"
#include "testing/errorwindow.h"
#include "testing/itemanalysiswindow.h"
#include "testing/resultwindow.h"
#include "testing/testchoice.h"
#include "testing/testintro.h"
#include "testing/testsettingswindow.h"
#include "testing/testwindow.h"

namespace {
template <class Window> void add(AppContext &context, const char *name)
{
    context.windows.add<Window>(QString::fromLatin1(name),
                                [&context] { return new Window(context); });
}
} // namespace

void registerTestingWindows(AppContext &context)
{
    add<TopicTestChoiceWindow>(context, "frmTestCh");
    add<TestIntroWindow>(context, "frmFullTest");
    add<TestWindow>(context, "fullTST");
    add<ResultWindow>(context, "frmFULLtestEND");
    add<ErrorReviewWindow>(context, "frmWRONG");
    add<AchievementsWindow>(context, "frmDOSTIG");
    add<TestSettingsWindow>(context, "frmDopSETUP");
    add<BankEditorWindow>(context, "frmEDITOR");
    add<ItemAnalysisWindow>(context, "frmItemAnalysis");
    WindowHub &windows = context.windows;
    windows.openTestIntro = [&windows] { windows.open<TestIntroWindow>(); };
    windows.openItemAnalysis = [&windows] { windows.open<ItemAnalysisWindow>(); };
}
