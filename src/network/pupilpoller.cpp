#include "network/pupilpoller.h"

#include "network/pupilstatus.h"

#include <QDateTime>

PupilPoller::PupilPoller(Classroom &classroom, QObject *parent)
    : QObject(parent), m_classroom(classroom)
{
    m_patience.setSingleShot(true);
    m_patience.setInterval(400);
    connect(&m_patience, &QTimer::timeout, this, &PupilPoller::finish);
}

void PupilPoller::poll()
{
    if (m_polling)
        return;
    m_polling = true;
    m_pending.clear();
    const qint64 now = m_now();
    QList<std::pair<std::function<PupilLook()>, std::function<void(const PupilLook &)>>> looks;
    for (const int i : m_classroom.configured()) {
        if (m_reading.contains(i))
            continue;
        const QString folder = m_classroom.folder(i);
        m_reading.insert(i);
        m_pending.insert(i);
        PupilLive &live = m_live[i - 1];
        live.lookStarted(now);
        looks.append(
            {[folder, progress = live.progress(), dataFolder = live.dataFolder(), now,
              previous = m_classroom.pupil(i), withSession = live.wantsSession(now)] {
                 return PupilLook::take(folder, progress, dataFolder, now, previous, withSession);
             },
             [this, i, generation = m_generation](const PupilLook &look) {
                 if (generation != m_generation)
                     return;
                 const bool changed =
                     m_live[i - 1].looked(look, m_now(), QDateTime::currentMSecsSinceEpoch());
                 if (look.read)
                     m_classroom.setPupil(i, look.status);
                 received(i, changed);
             }});
    }
    if (!looks.isEmpty())
        m_looks = ReadBatch<PupilLook>::start(this, std::move(looks), Readers);
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
    m_live.fill(PupilLive());
}

void PupilPoller::received(int computer, bool changed)
{
    m_reading.remove(computer);
    if (changed)
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
    // Looks read by now go to their rows even though every reader may hang on a slow computer;
    // looks that have not started wait behind such computers: each gets its own reader.
    if (const auto looks = m_looks.lock())
        looks->hurry();
    Q_EMIT pollFinished();
}
