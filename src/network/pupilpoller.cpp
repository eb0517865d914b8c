#include "network/pupilpoller.h"

#include "core/sessionstate.h"
#include "network/pupilstatus.h"
#include "network/sharereader.h"

#include <QThreadPool>

QThreadPool *shareReaders()
{
    // Never destroyed: destroying a pool waits for its threads, and a read of a computer that
    // went off may wait for minutes.
    static QThreadPool *pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(SessionState::MaxComputers + 4);
        return threads;
    }();
    return pool;
}

PupilPoller::PupilPoller(SessionState &session, QObject *parent)
    : QObject(parent), m_session(session)
{
    m_patience.setSingleShot(true);
    m_patience.setInterval(3000);
    connect(&m_patience, &QTimer::timeout, this, &PupilPoller::finish);
}

void PupilPoller::poll()
{
    m_polling = true;
    m_pending.clear();
    const int count = qBound(0, int(m_session.NetCount), SessionState::MaxComputers);
    QList<std::pair<std::function<PupilStatus()>, std::function<void(const PupilStatus &)>>> reads;
    for (int i = 1; i <= count; ++i) {
        const QString folder = m_session.NetPath.at(i - 1);
        if (folder.isEmpty() || m_reading.contains(i))
            continue;
        m_reading.insert(i);
        m_pending.insert(i);
        const PupilStatus previous = m_session.Pupils.at(i - 1);
        reads.append({[folder, previous] { return pupilstatus::read(folder, previous); },
                      [this, i, generation = m_generation](const PupilStatus &status) {
                          if (generation != m_generation)
                              return;
                          m_session.Pupils[i - 1] = status;
                          received(i);
                      }});
    }
    if (!reads.isEmpty())
        readAllOffThread<PupilStatus>(this, std::move(reads));
    if (m_pending.isEmpty())
        QMetaObject::invokeMethod(this, &PupilPoller::finish, Qt::QueuedConnection);
    else
        m_patience.start();
}

void PupilPoller::forget()
{
    ++m_generation;
    m_reading.clear();
    m_pending.clear();
    m_patience.stop();
    m_polling = false;
}

void PupilPoller::received(int computer)
{
    m_reading.remove(computer);
    Q_EMIT computerRead(computer);
    if (m_pending.remove(computer) && m_pending.isEmpty())
        finish();
}

void PupilPoller::finish()
{
    if (!m_polling)
        return;
    m_polling = false;
    m_pending.clear();
    m_patience.stop();
    Q_EMIT pollFinished();
}
