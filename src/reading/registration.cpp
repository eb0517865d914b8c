#include "reading/registration.h"

#include "core/appcontext.h"
#include "reading/contentswindow.h"
#include "reading/helpwindow.h"
#include "reading/pictureviewer.h"
#include "reading/readerwindow.h"

void registerReadingWindows(AppContext &context)
{
    registerWindows<ContentsWindow, ReaderWindow, PictureViewer, HelpWindow, AboutWindow>(context);
}
