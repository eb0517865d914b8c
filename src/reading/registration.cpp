#include "app/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "reading/contentswindow.h"
#include "reading/helpwindow.h"
#include "reading/pictureviewer.h"
#include "reading/readerwindow.h"

void registerReadingWindows(AppContext &context)
{
    WindowHub &windows = context.windows;
    windows.registerWindow(QStringLiteral("frmChGlava"),
                           [&context] { return new ContentsWindow(context); });
    windows.registerWindow(QStringLiteral("frmReadLearn"),
                           [&context] { return new ReaderWindow(context); });
    windows.registerWindow(QStringLiteral("PICview"),
                           [&context] { return new PictureViewer(context); });
    windows.registerWindow(QStringLiteral("frmHELP"),
                           [&context] { return new HelpWindow(context); });
    windows.registerWindow(QStringLiteral("frmWebABOUT"),
                           [&context] { return new AboutWindow(context); });
}
