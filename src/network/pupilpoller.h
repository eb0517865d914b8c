#pragma once

#include "network/classroom.h"
#include "network/pupillive.h"
#include "network/sharereader.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

// Looks at the pupils' files off the user-interface thread: their stamps every poll, and
// curr_test.ini only when it changed. Each result is stored in the classroom on the
// user-interface thread. A computer whose previous look has not returned is not looked at
// again; its status keeps its last values, and it counts as lost after a while.
class PupilPoller : public QObject
{
    Q_OBJECT
public:
    explicit PupilPoller(Classroom &classroom, QObject *parent = nullptr);

    // The steady clock, in milliseconds; tests drive their own.
    void setClock(std::function<qint64()> now) { m_now = std::move(now); }
    qint64 now() const { return m_now(); }
    const PupilLive &live(int computer) const { return m_live.at(computer - 1); }

    // Starts reading every configured computer that is not still being read; while a poll
    // waits for its computers, the next one is not started.
    void poll();
    bool isPolling() const { return m_polling; }
    bool isReading(int computer) const { return m_reading.contains(computer); }
    // Drops every read still under way: the classroom has changed or is gone, so their results
    // would belong to computers no longer configured.
    void forget();
    // How long a poll waits for slow computers before it counts as finished; the computers
    // still being read are left to come back on their own.
    void setPatience(int ms) { m_patience.setInterval(ms); }

Q_SIGNALS:
    // What the computer's row shows may have changed.
    void computerRead(int computer);
    // Every read of the poll returned, or the patience ran out.
    void pollFinished();

private:
    void received(int computer, bool changed);
    void finish();

    // Readers a poll starts with: enough for a classroom on a share, few threads to wake.
    static constexpr int Readers = 4;

    Classroom &m_classroom;
    std::weak_ptr<ReadBatch<PupilLook>> m_looks;
    std::array<PupilLive, Classroom::MaxComputers> m_live;
    std::function<qint64()> m_now = steadyMs;
    QSet<int> m_reading;
    QSet<int> m_pending;
    QTimer m_patience;
    bool m_polling = false;
    int m_generation = 0;
};
