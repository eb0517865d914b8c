#pragma once

#include <QObject>
#include <QSet>
#include <QTimer>

struct SessionState;

// Polls the pupils' curr_test.ini off the user-interface thread. Each result is stored in the
// session's Pupils on the user-interface thread. A computer whose previous read has not
// returned is not read again; its status keeps its last values.
class PupilPoller : public QObject
{
    Q_OBJECT
public:
    explicit PupilPoller(SessionState &session, QObject *parent = nullptr);

    // Starts reading every configured computer that is not still being read.
    void poll();
    bool isPolling() const { return m_polling; }
    bool isReading(int computer) const { return m_reading.contains(computer); }
    // Drops every read still under way: the classroom has changed or is gone, so their results
    // would belong to computers no longer configured.
    void forget();
    // How long a poll waits for slow computers before it counts as finished.
    void setPatience(int ms) { m_patience.setInterval(ms); }

Q_SIGNALS:
    void computerRead(int computer);
    // Every read of the poll returned, or the patience ran out.
    void pollFinished();

private:
    void received(int computer);
    void finish();

    SessionState &m_session;
    QSet<int> m_reading;
    QSet<int> m_pending;
    QTimer m_patience;
    bool m_polling = false;
    int m_generation = 0;
};
