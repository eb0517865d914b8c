#pragma once

struct AppContext;

// Each subsystem tells the window hub how to create its windows.
void registerAppWindows(AppContext &context);
void registerUsersWindows(AppContext &context);
void registerReadingWindows(AppContext &context);
void registerTestingWindows(AppContext &context);
void registerNetworkWindows(AppContext &context);

inline void registerAllWindows(AppContext &context)
{
    registerAppWindows(context);
    registerUsersWindows(context);
    registerReadingWindows(context);
    registerTestingWindows(context);
    registerNetworkWindows(context);
}
