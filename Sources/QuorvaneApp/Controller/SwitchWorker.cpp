#include "Controller/SwitchWorker.h"

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
    m_thread.reset(QThread::create([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        // Dropped when this object is gone by then (see wait()).
        QMetaObject::invokeMethod(
            this,
            [this, done = std::move(done)] {
                wait();
                done();
            },
            Qt::QueuedConnection);
    }));
    m_thread->setObjectName(QStringLiteral("switch"));
    m_thread->start();
}

void SwitchWorker::wait()
{
    if (!m_thread)
        return;
    m_thread->wait();
    m_thread.reset();
}

} // namespace quorvane
