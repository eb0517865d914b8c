#include "testing/testwindows.h"

#include "core/appcontext.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testintro.h"
#include "testing/testwindow.h"

void showTestReturnTarget(AppContext &context)
{
    const QString target = testReturnTarget(context.session);
    if (target == QLatin1String("frmReadLearn")) {
        if (QWidget *reader = context.windows.window(target)) {
            QMetaObject::invokeMethod(reader, "showAgainAfterTest");
            return;
        }
        // The reader is gone: the main menu is the only sensible place left.
        context.windows.open(QStringLiteral("frmMain"));
        return;
    }
    context.windows.open(target);
}

void closePictureViewer(AppContext &context)
{
    context.windows.close(QStringLiteral("PICview"));
    context.session.PictureViewerOpen = false;
}

void closeTestWindows(AppContext &context)
{
    if (auto *test = context.windows.find<TestWindow>(QStringLiteral("fullTST")))
        test->closeQuietly();
    if (auto *intro = context.windows.find<TestIntroWindow>(QStringLiteral("frmFullTest")))
        intro->closeQuietly();
}

void goOnWithTest(AppContext &context, const InterruptedTest &test)
{
    selectInterruptedTest(context.session, test);
    auto *intro =
        qobject_cast<TestIntroWindow *>(context.windows.load(QStringLiteral("frmFullTest")));
    continueInterruptedTest(context.session, test);
    intro->goOn();
}
