#include "testing/testwindows.h"

#include "core/appcontext.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testintro.h"
#include "testing/testwindow.h"

void ShowTestReturnTarget(AppContext &context)
{
    const QString target = TestReturnTarget(context.session);
    if (target == QLatin1String("frmReadLearn")) {
        if (QWidget *reader = context.windows.window(target)) {
            QMetaObject::invokeMethod(reader, "ShowAgainAfterTest");
            return;
        }
        // The reader is gone: the main menu is the only sensible place left.
        context.windows.open(QStringLiteral("frmMain"));
        return;
    }
    context.windows.open(target);
}

void ClosePictureViewer(AppContext &context)
{
    context.windows.close(QStringLiteral("PICview"));
    context.session.PictureViewerOpen = false;
}

void CloseTestWindows(AppContext &context)
{
    if (auto *test = context.windows.find<fullTST>(QStringLiteral("fullTST")))
        test->closeQuietly();
    if (auto *intro = context.windows.find<frmFullTest>(QStringLiteral("frmFullTest")))
        intro->closeQuietly();
}

void GoOnWithTest(AppContext &context, const InterruptedTest &test)
{
    SelectInterruptedTest(context.session, test);
    auto *intro = qobject_cast<frmFullTest *>(context.windows.load(QStringLiteral("frmFullTest")));
    ContinueInterruptedTest(context.session, test);
    intro->goOn();
}
