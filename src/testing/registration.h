#pragma once

struct AppContext;

// Tells the window hub how to create the testing windows.
void registerTestingWindows(AppContext &context);
