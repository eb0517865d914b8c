#pragma once

#include "core/sessionstate.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

// The pupil computers of net.ini: how many there are and the program folder of each, empty
// when that computer is not set up. The setup writes it; the monitor redraws on `changed`, and
// the watch, the class results, the item analysis and the remote administration read it.
class Classroom : public QObject
{
    Q_OBJECT
public:
    using Folders = std::array<QString, SessionState::MaxComputers>;

    explicit Classroom(QObject *parent = nullptr) : QObject(parent) {}

    int count() const { return m_count; }
    // The folder of computer i (1-based), whether or not i is within the count.
    QString folder(int computer) const;
    const Folders &folders() const { return m_folders; }
    // The computers 1..count that have a folder, in order.
    QList<int> configured() const;

    // Replaces the computers (the count kept within 0..50) and tells the observers.
    void assign(int count, const Folders &folders);
    void clear() { assign(0, {}); }

Q_SIGNALS:
    void changed();

private:
    int m_count = 0;
    Folders m_folders;
};
