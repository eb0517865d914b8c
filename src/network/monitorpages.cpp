#include "network/monitorpages.h"

#include "core/sessionstate.h"

#include <QtGlobal>

int MonitorPages::page() const
{
    return qBound(1, m_session.NetPage, LastPage);
}

void MonitorPages::reset()
{
    m_session.NetPage = 1;
}

void MonitorPages::next()
{
    if (nextVisible())
        m_session.NetPage = page() + 1;
}

void MonitorPages::previous()
{
    m_session.NetPage = qMax(page() - 1, 1);
}

int MonitorPages::computerInRow(int row) const
{
    return RowsPerPage * (page() - 1) + row + 1;
}

bool MonitorPages::nextVisible() const
{
    switch (page()) {
    case 1:
        return m_session.NetCount > RowsPerPage;
    case 2:
        return true;
    case 3:
        return m_session.NetCount > 3 * RowsPerPage;
    default:
        return false;
    }
}

bool MonitorPages::previousVisible() const
{
    return page() > 1;
}

bool MonitorPages::rowUsed(int row) const
{
    return computerInRow(row) <= SessionState::MaxComputers;
}

MonitorTick MonitorTicks::decide()
{
    if (reloadRequested) {
        reloadRequested = false;
        pollBusy = false;
        return MonitorTick::Reload;
    }
    if (pollBusy)
        return MonitorTick::Skip;
    pollBusy = true;
    return MonitorTick::Poll;
}
