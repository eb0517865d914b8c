#pragma once

struct AppContext;

// Tells the window hub how to create the users windows.
void registerUsersWindows(AppContext &context);
