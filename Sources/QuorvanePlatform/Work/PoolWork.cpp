#include "Work/PoolWork.h"

#include <QPromise>
#include <QThreadPool>

#include <memory>

namespace quorvane::PoolWork {

namespace {

// The work as the pool runs it: the future finishes once the work has run and what it held is
// gone, so that a caller who waits for the future finds nothing of it left on the pool's thread.
std::function<void()> promised(Work work, QFuture<void> &future)
{
    auto promise = std::make_shared<QPromise<void>>();
    future = promise->future();
    promise->start();
    return [promise, work = std::move(work)]() mutable {
        work();
        work = nullptr;
        promise->finish();
    };
}

} // namespace

QFuture<void> start(Work work)
{
    QFuture<void> future;
    QThreadPool::globalInstance()->start(promised(std::move(work), future));
    return future;
}

QFuture<void> startNow(Work work)
{
    QFuture<void> future;
    QThreadPool *pool = QThreadPool::globalInstance();
    // A reserved thread counts beyond the pool's limit: the work starts now.
    pool->reserveThread();
    pool->startOnReservedThread(promised(std::move(work), future));
    return future;
}

} // namespace quorvane::PoolWork
