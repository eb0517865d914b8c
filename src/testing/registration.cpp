#include "testing/registration.h"

#include "core/appcontext.h"
#include "testing/achievements.h"
#include "testing/bankeditorwindow.h"
#include "testing/errorwindow.h"
#include "testing/itemanalysiswindow.h"
#include "testing/resultwindow.h"
#include "testing/testintro.h"
#include "testing/testnavigation.h"
#include "testing/testsettingswindow.h"
#include "testing/testwindow.h"
#include "testing/topictestchoice.h"

void registerTestingWindows(AppContext &context)
{
    registerWindows<TopicTestChoiceWindow, TestIntroWindow, TestWindow, ResultWindow,
                    ErrorReviewWindow, AchievementsWindow, TestSettingsWindow, BankEditorWindow,
                    ItemAnalysisWindow>(context);
    WindowHub &windows = context.windows;
    windows.openTestIntro = [&context](const TestRequest &request) {
        introduceTest(context, request);
    };
    windows.openItemAnalysis = [&windows] { windows.open<ItemAnalysisWindow>(); };
}
