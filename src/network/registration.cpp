#include "app/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "network/frmnet.h"
#include "network/frmnetboss.h"
#include "network/resultswindows.h"
#include "network/setupwindows.h"
#include "network/watchwindows.h"

namespace {
template <class Window> void add(AppContext &context, const char *name)
{
    context.windows.registerWindow(QString::fromLatin1(name),
                                   [&context] { return new Window(context); });
}
} // namespace

void registerNetworkWindows(AppContext &context)
{
    add<frmNET>(context, "frmNET");
    add<frmNETSetuP1>(context, "frmNETSetuP1");
    add<frmNETSetuP2>(context, "frmNETSetuP2");
    add<frmNETSetup5>(context, "frmNETSetup5");
    add<frmUSERchange>(context, "frmUSERchange");
    add<frmNetLog>(context, "frmNetLog");
    add<frmLOGnet>(context, "frmLOGnet");
    add<frmNETBOSS>(context, "frmNETBOSS");
}
