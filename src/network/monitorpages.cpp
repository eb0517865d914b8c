#include "network/monitorpages.h"

#include "network/classroom.h"

#include <QtGlobal>

void MonitorPages::next()
{
    if (nextVisible())
        ++m_page;
}

void MonitorPages::previous()
{
    m_page = qMax(m_page - 1, 1);
}

int MonitorPages::computerInRow(int row) const
{
    return RowsPerPage * (m_page - 1) + row + 1;
}

bool MonitorPages::nextVisible() const
{
    switch (m_page) {
    case 1:
        return m_classroom.count() > RowsPerPage;
    case 2:
        return true;
    case 3:
        return m_classroom.count() > 3 * RowsPerPage;
    default:
        return false;
    }
}

bool MonitorPages::previousVisible() const
{
    return m_page > 1;
}

int MonitorPages::rowsUsed() const
{
    return qBound(0, Classroom::MaxComputers - computerInRow(0) + 1, RowsPerPage);
}
