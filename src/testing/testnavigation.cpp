#include "testing/testnavigation.h"

#include "core/appcontext.h"
#include "core/sessionstate.h"
#include "core/whenfinished.h"
#include "core/windowhub.h"
#include "reading/pictureviewer.h"
#include "reading/readerwindow.h"
#include "testing/achievements.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testintro.h"
#include "testing/testrun.h"
#include "testing/testsession.h"
#include "testing/testwindow.h"
#include "testing/topictestchoice.h"
#include "users/messagewindows.h"

#include <QCoreApplication>

namespace {
// A new introduction: one left loaded goes without showing where it returns to.
TestIntroWindow *newIntroduction(AppContext &context)
{
    if (auto *intro = context.windows.find<TestIntroWindow>())
        intro->closeQuietly();
    return context.windows.load<TestIntroWindow>();
}
} // namespace

void showTestReturnTarget(AppContext &context, const TestRun &run)
{
    switch (testReturnTarget(context.session, run)) {
    case TestReturn::TopicChoice:
        context.windows.open<TopicTestChoiceWindow>();
        return;
    case TestReturn::MainMenu:
        context.windows.openMenu(WindowHub::Menu::Main);
        return;
    case TestReturn::Reader:
        if (auto *reader = context.windows.find<ReaderWindow>()) {
            reader->showAgainAfterTest();
            return;
        }
        // The reader is gone: the main menu is the only sensible place left.
        context.windows.openMenu(WindowHub::Menu::Main);
        return;
    case TestReturn::Results:
        context.windows.open<AchievementsWindow>();
        return;
    }
}

void tellWhenNotStored(AppContext &context, QFuture<ResultStore> stored, const QString &testName,
                       const QString &baseFile)
{
    whenFinished(stored, QCoreApplication::instance(),
                 [&context, testName, baseFile](ResultStore outcome) {
                     if (outcome == ResultStore::BaseNotWritten)
                         InfoWindow::tell(context, resultStoreNotice(outcome, testName, baseFile));
                 });
}

void closePictureViewer(AppContext &context)
{
    context.windows.close<PictureViewer>();
}

void closeTestWindows(AppContext &context)
{
    if (auto *test = context.windows.find<TestWindow>())
        test->closeQuietly();
    if (auto *intro = context.windows.find<TestIntroWindow>())
        intro->closeQuietly();
}

void introduceTest(AppContext &context, const TestRequest &request)
{
    if (auto *intro = newIntroduction(context))
        intro->introduce(request);
}

void introducePractice(AppContext &context, std::shared_ptr<const PreparedTest> practice)
{
    if (auto *intro = newIntroduction(context))
        intro->introducePractice(std::move(practice));
}

void goOnWithTest(AppContext &context, const InterruptedTest &test)
{
    if (auto *intro = newIntroduction(context))
        intro->goOn(test);
}

void startTestAnew(AppContext &context, const InterruptedTest &test)
{
    introduceTest(context, selectInterruptedTest(context.session, test));
}

SessionRecords answeredRecords(AppContext &context)
{
    if (auto *test = context.windows.find<TestWindow>(); test && test->session())
        return test->session()->records();
    SessionRecords records;
    clearSessionRecords(records);
    return records;
}
