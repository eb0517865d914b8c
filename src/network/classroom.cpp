#include "network/classroom.h"

QString Classroom::folder(int computer) const
{
    return isComputer(computer) ? m_folders.at(computer - 1) : QString();
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
    m_count = qBound(0, count, MaxComputers);
    m_folders = folders;
    m_pupils.fill(PupilStatus());
    Q_EMIT changed();
}

PupilStatus Classroom::pupil(int computer) const
{
    return isComputer(computer) ? m_pupils.at(computer - 1) : PupilStatus();
}

QList<PupilStatus> Classroom::pupils() const
{
    return QList<PupilStatus>(m_pupils.cbegin(), m_pupils.cbegin() + m_count);
}

void Classroom::setPupil(int computer, const PupilStatus &status)
{
    if (isComputer(computer))
        m_pupils[computer - 1] = status;
}
