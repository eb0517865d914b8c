#include "network/classroom.h"

QString Classroom::folder(int computer) const
{
    return computer >= 1 && computer <= SessionState::MaxComputers ? m_folders.at(computer - 1)
                                                                   : QString();
}

QList<int> Classroom::configured() const
{
    QList<int> computers;
    for (int i = 1; i <= m_count; ++i) {
        if (!m_folders.at(i - 1).isEmpty())
            computers << i;
    }
    return computers;
}

void Classroom::assign(int count, const Folders &folders)
{
    m_count = qBound(0, count, SessionState::MaxComputers);
    m_folders = folders;
    Q_EMIT changed();
}
