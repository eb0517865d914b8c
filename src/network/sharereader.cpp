#include "network/sharereader.h"

#include "network/classroom.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <mutex>

namespace {
// Results reach the application only while it is there and its end has not begun: a reader
// may come back from a share at any moment, also while the application is being destroyed.
struct HandOverGate
{
    std::mutex lock;
    bool closed = false;
};

// Never destroyed: a reader may come back after the program's objects are gone.
HandOverGate &gate()
{
    static auto *handOver = new HandOverGate;
    return *handOver;
}

void closeGate()
{
    HandOverGate &g = gate();
    std::lock_guard<std::mutex> locked(g.lock);
    g.closed = true;
}
} // namespace

QThreadPool *shareReaders()
{
    // Never destroyed: destroying a pool waits for its threads, and a read of a computer that
    // went off may wait for minutes.
    static QThreadPool *pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(Classroom::MaxComputers + 4);
        qAddPostRoutine(closeGate); // run by the application's destructor
        return threads;
    }();
    return pool;
}

void handToApplication(std::function<void()> call)
{
    HandOverGate &g = gate();
    std::lock_guard<std::mutex> locked(g.lock);
    if (QCoreApplication *application = QCoreApplication::instance(); application && !g.closed)
        QMetaObject::invokeMethod(application, std::move(call), Qt::QueuedConnection);
}

bool shareReadersStopped(int ms)
{
    return shareReaders()->waitForDone(ms);
}
