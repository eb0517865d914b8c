#pragma once

struct AppContext;

// Tells the window hub how to create the reading windows.
void registerReadingWindows(AppContext &context);
