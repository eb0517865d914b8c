#include "network/registration.h"

#include "core/appcontext.h"
#include "network/monitorwindow.h"
#include "network/remoteadminwindow.h"
#include "network/resultswindows.h"
#include "network/setupwindows.h"
#include "network/watchwindows.h"

void registerNetworkWindows(AppContext &context)
{
    registerWindows<MonitorWindow, SetupComputerCountStep, SetupComputerListStep, SetupChangeWindow,
                    WatchChoiceWindow, WatchWindow, ClassResultsWindow, RemoteAdminWindow>(context);
}
