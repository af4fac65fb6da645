#include "Controller/SwitchWorker.h"

#include "Work/PoolWork.h"

#include <QMetaObject>

#include <atomic>
#include <utility>

namespace quorvane {

namespace {

std::atomic<bool> runInline = false;

} // namespace

SwitchWorker::~SwitchWorker()
{
    wait();
}

void SwitchWorker::setInline(bool on)
{
    runInline = on;
}

void SwitchWorker::run(Work work, Work done)
{
    if (runInline) {
        work();
        done();
        return;
    }
    wait();
    m_work = PoolWork::startNow([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        // What the work held is let go here, before its end is told: the switch's objects are
        // let go last on the GUI thread, by done.
        work = nullptr;
        // Dropped when this object is gone by then (see wait()).
        QMetaObject::invokeMethod(
            this,
            [this, done = std::move(done)] {
                wait();
                done();
            },
            Qt::QueuedConnection);
    });
}

void SwitchWorker::wait()
{
    if (!m_work)
        return;
    m_work->waitForFinished();
    m_work.reset();
}

} // namespace quorvane
