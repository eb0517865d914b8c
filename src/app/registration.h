#pragma once

#include "network/registration.h"
#include "reading/registration.h"
#include "testing/registration.h"
#include "users/registration.h"

struct AppContext;

// The main menu, the splash and the administrator's window.
void registerAppWindows(AppContext &context);

inline void registerAllWindows(AppContext &context)
{
    registerAppWindows(context);
    registerUsersWindows(context);
    registerReadingWindows(context);
    registerTestingWindows(context);
    registerNetworkWindows(context);
}
