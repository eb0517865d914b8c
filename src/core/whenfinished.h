#pragma once

#include <QFutureWatcher>

#include <type_traits>

// Calls `done` on the thread of `context` once `future` has finished, with its result unless the
// future has none; never once `context` is gone. QFuture::then(context, ...) is not used: it
// checks the context from the thread that finishes the future and aborts when it has died.
template <class T, class Done>
void whenFinished(const QFuture<T> &future, QObject *context, Done done)
{
    auto *watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         if constexpr (std::is_void_v<T>)
                             done();
                         else
                             done(watcher->result());
                     });
    watcher->setFuture(future);
}
