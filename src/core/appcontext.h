#pragma once

struct SessionState;
class CuePlayer;
class WindowHub;

// What every window is given: the session state, the cue player and the window hub.
struct AppContext
{
    SessionState &session;
    CuePlayer &cues;
    WindowHub &windows;
};
