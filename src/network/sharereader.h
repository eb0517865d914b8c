#pragma once

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <utility>

// Threads for reading files on pupil computers: a switched-off computer can keep a read
// waiting for a long time, so these threads never hold up a window or the end of the program.
QThreadPool *shareReaders();

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
        QCoreApplication *application = QCoreApplication::instance();
        if (!application)
            return; // the program is ending
        QMetaObject::invokeMethod(
            application,
            [guard, done = std::move(done), result = std::move(result)] {
                if (guard)
                    done(result);
            },
            Qt::QueuedConnection);
    });
}

template <class Result>
void readOffThread(QObject *context, std::function<Result()> read,
                   std::function<void(const Result &)> done)
{
    readOffThread<Result>(QPointer<QObject>(context), std::move(read), std::move(done));
}

// Starts many reads with one hand-over to the readers, so that a poll of a whole classroom
// costs the user-interface thread next to nothing.
template <class Result>
void readAllOffThread(
    QObject *context,
    QList<std::pair<std::function<Result()>, std::function<void(const Result &)>>> reads)
{
    QPointer<QObject> guard(context);
    shareReaders()->start([guard, reads = std::move(reads)] {
        for (const auto &[read, done] : reads)
            readOffThread<Result>(guard, read, done);
    });
}
