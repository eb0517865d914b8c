#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

// Threads for reading files on pupil computers: a switched-off computer can keep a read
// waiting for a long time, so these threads never hold up a window or the end of the program.
QThreadPool *shareReaders();

// Runs `call` later on the user-interface thread; dropped once the application is gone or its
// destruction has begun. May be called from any thread.
void handToApplication(std::function<void()> call);

// Waits at most `ms` for the reads under way; false when some still hang. Such a read may come
// back while the program's objects are being destroyed, so the program then ends without
// destroying them.
bool shareReadersStopped(int ms);

// Runs `read` on a share reader and hands its result to `done` on the user-interface thread;
// nothing is handed over when `context` is gone by then. One queued call per read keeps the
// user-interface thread's share of a poll small.
// May be called from any thread.
template <class Result>
void readOffThread(QPointer<QObject> guard, std::function<Result()> read,
                   std::function<void(const Result &)> done)
{
    shareReaders()->start([guard, read = std::move(read), done = std::move(done)]() mutable {
        Result result = read();
        handToApplication([guard, done = std::move(done), result = std::move(result)] {
            if (guard)
                done(result);
        });
    });
}

template <class Result>
void readOffThread(QObject *context, std::function<Result()> read,
                   std::function<void(const Result &)> done)
{
    readOffThread<Result>(QPointer<QObject>(context), std::move(read), std::move(done));
}

// Many reads run by a few share readers that take them in turn from one queue; their results
// go to their `done` on the user-interface thread in as few calls as possible. A classroom's
// poll thus wakes a few threads and the user-interface thread a few times, not once per
// computer. A read that hangs holds up its own reader only; when the others cannot keep up,
// hurry() hands over what is read and gives every read still waiting a reader of its own.
template <class Result> class ReadBatch : public std::enable_shared_from_this<ReadBatch<Result>>
{
public:
    using Read = std::function<Result()>;
    using Done = std::function<void(const Result &)>;

    static std::shared_ptr<ReadBatch> start(QObject *context, QList<std::pair<Read, Done>> reads,
                                            int readers)
    {
        auto batch = std::shared_ptr<ReadBatch>(new ReadBatch(context, std::move(reads)));
        batch->addReaders(readers);
        return batch;
    }

    // Called on the user-interface thread when the batch has taken long enough: results wait
    // for no reader that hangs, wherever its computer stands in the queue.
    void hurry()
    {
        handOver();
        int waiting = 0;
        {
            std::lock_guard<std::mutex> locked(m_lock);
            waiting = int(m_waiting.size());
        }
        addReaders(waiting);
    }

private:
    ReadBatch(QObject *context, QList<std::pair<Read, Done>> reads)
        : m_guard(context), m_waiting(std::move(reads))
    {
    }

    void addReaders(int count)
    {
        for (int r = 0; r < count; ++r)
            shareReaders()->start([batch = this->shared_from_this()] { batch->readAll(); });
    }

    // Results go over when a reader finds the queue empty: a share answers each look slowly
    // enough that handing each over on its own would wake the user-interface thread once per
    // computer. A reader still on a slow computer hands its result over when it is done; when
    // every reader hangs, hurry() hands over what the others read.
    void readAll()
    {
        while (std::optional<std::pair<Read, Done>> read = next()) {
            Result result = read->first();
            std::lock_guard<std::mutex> locked(m_lock);
            m_results.append({std::move(read->second), std::move(result)});
        }
        bool queueHandOver = false;
        {
            std::lock_guard<std::mutex> locked(m_lock);
            queueHandOver = !m_results.isEmpty() && !std::exchange(m_handOverQueued, true);
        }
        if (queueHandOver)
            handToApplication([batch = this->shared_from_this()] { batch->handOver(); });
    }

    std::optional<std::pair<Read, Done>> next()
    {
        std::lock_guard<std::mutex> locked(m_lock);
        if (m_waiting.isEmpty())
            return std::nullopt;
        return m_waiting.takeFirst();
    }

    void handOver()
    {
        QList<std::pair<Done, Result>> ready;
        {
            std::lock_guard<std::mutex> locked(m_lock);
            ready.swap(m_results);
            m_handOverQueued = false;
        }
        for (const auto &[done, result] : std::as_const(ready)) {
            if (m_guard)
                done(result);
        }
    }

    QPointer<QObject> m_guard;
    std::mutex m_lock;
    QList<std::pair<Read, Done>> m_waiting;
    QList<std::pair<Done, Result>> m_results;
    bool m_handOverQueued = false;
};
