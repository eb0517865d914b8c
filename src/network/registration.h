#pragma once

struct AppContext;

// Tells the window hub how to create the network windows.
void registerNetworkWindows(AppContext &context);
