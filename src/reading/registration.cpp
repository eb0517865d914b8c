#include "reading/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "reading/contentswindow.h"
#include "reading/helpwindow.h"
#include "reading/pictureviewer.h"
#include "reading/readerwindow.h"

namespace {
template <class Window> void add(AppContext &context, const char *name)
{
    context.windows.add<Window>(QString::fromLatin1(name),
                                [&context] { return new Window(context); });
}
} // namespace

void registerReadingWindows(AppContext &context)
{
    add<ContentsWindow>(context, "frmChGlava");
    add<ReaderWindow>(context, "frmReadLearn");
    add<PictureViewer>(context, "PICview");
    add<HelpWindow>(context, "frmHELP");
    add<AboutWindow>(context, "frmWebABOUT");
}
