#pragma once

#include "network/pupilstatus.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

// The pupil computers of net.ini: how many there are, the program folder of each (empty when
// that computer is not set up) and what its curr_test.ini said when the monitor last read it.
// The setup writes the computers; the monitor redraws on `changed`, and the watch, the class
// results, the item analysis and the remote administration read it.
class Classroom : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxComputers = 50;
    using Folders = std::array<QString, MaxComputers>;

    explicit Classroom(QObject *parent = nullptr) : QObject(parent) {}

    int count() const { return m_count; }
    // The folder of computer i (1-based), whether or not i is within the count.
    QString folder(int computer) const;
    const Folders &folders() const { return m_folders; }
    // The computers 1..count that have a folder, in order.
    QList<int> configured() const;

    // Replaces the computers (the count kept within 0..50), forgets what was read of the old
    // ones and tells the observers.
    void assign(int count, const Folders &folders);
    void clear() { assign(0, {}); }

    // What was last read of computer i (1-based); nothing before its first reading.
    PupilStatus pupil(int computer) const;
    // Those of computers 1..count, in order.
    QList<PupilStatus> pupils() const;
    void setPupil(int computer, const PupilStatus &status);

    // Where the teacher last found a pupil's program: the setup's file dialog starts there.
    const QString &programFolderChosenLast() const { return m_programFolderChosenLast; }
    void setProgramFolderChosenLast(const QString &folder) { m_programFolderChosenLast = folder; }

Q_SIGNALS:
    void changed();

private:
    static bool isComputer(int computer) { return computer >= 1 && computer <= MaxComputers; }

    int m_count = 0;
    Folders m_folders;
    std::array<PupilStatus, MaxComputers> m_pupils;
    QString m_programFolderChosenLast;
};
