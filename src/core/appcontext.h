#pragma once

#include "core/windowhub.h"

struct SessionState;
class CuePlayer;
class Classroom;

// What every window is given: the session state, the cue player, the window hub and the
// classroom's computers.
struct AppContext
{
    SessionState &session;
    CuePlayer &cues;
    WindowHub &windows;
    Classroom &classroom;
};

// Tells the hub how to make each of these window classes from the context alone.
template <class... Windows> void registerWindows(AppContext &context)
{
    (context.windows.add<Windows>([&context] { return new Windows(context); }), ...);
}
