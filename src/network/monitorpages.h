#pragma once

struct SessionState;

// The monitor's pages of 15 computers: page 1 shows computers 1-15, page 2 16-30, page 3
// 31-45, and page 4 computers 46-50 of a classroom that has them. The page lives in the session
// (NetPage) so that it survives a reload of the window.
class MonitorPages
{
public:
    static constexpr int RowsPerPage = 15;
    static constexpr int LastPage = 4;

    explicit MonitorPages(SessionState &session) : m_session(session) {}

    int page() const;
    void reset();
    void next();
    void previous();

    // Computer shown in row r (0-based) of the current page.
    int computerInRow(int row) const;
    bool nextVisible() const;
    bool previousVisible() const;
    // Whether row r (0-based) of the current page stands for a computer the classroom can have.
    bool rowUsed(int row) const;

private:
    SessionState &m_session;
};

// What a tick of the monitor's poll timer does.
enum class MonitorTick {
    Reload, // the setup was asked for: reread the configuration, no poll on this tick
    Poll,   // start a poll; pollBusy stays set until the page is drawn
    Skip    // a poll is still in progress
};

// The monitor's own poll state between ticks.
struct MonitorTicks
{
    bool reloadRequested = false;
    bool pollBusy = false;

    MonitorTick decide();
};
