#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>

class QThreadPool;

// Threads for reading files on pupil computers: a switched-off computer can keep a read
// waiting for a long time, so these threads never hold up a window or the end of the program.
QThreadPool *shareReaders();

// Runs `read` on a share reader and hands its result to `done` on the thread of `context`;
// nothing is handed over when `context` is gone by then.
template <class Result>
void readOffThread(QObject *context, std::function<Result()> read,
                   std::function<void(const Result &)> done)
{
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcher<Result>::finished, context, [watcher, done] {
        done(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(shareReaders(), std::move(read)));
}
