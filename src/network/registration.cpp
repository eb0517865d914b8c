#include "network/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "network/monitorwindow.h"
#include "network/remoteadminwindow.h"
#include "network/resultswindows.h"
#include "network/setupwindows.h"
#include "network/watchwindows.h"

namespace {
template <class Window> void add(AppContext &context, const char *name)
{
    context.windows.add<Window>(QString::fromLatin1(name),
                                [&context] { return new Window(context); });
}
} // namespace

void registerNetworkWindows(AppContext &context)
{
    add<MonitorWindow>(context, "frmNET");
    add<SetupComputerCountStep>(context, "frmNETSetuP1");
    add<SetupComputerListStep>(context, "frmNETSetuP2");
    add<SetupChangeWindow>(context, "frmNETSetup5");
    add<WatchChoiceWindow>(context, "frmUSERchange");
    add<WatchWindow>(context, "frmNetLog");
    add<ClassResultsWindow>(context, "frmLOGnet");
    add<RemoteAdminWindow>(context, "frmNETBOSS");
}
