#include "Work/HostWork.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace quorvane::HostWork {

namespace {

// The jobs run on a pool of one thread of their own, so one after another in the order posted
// (the pool takes what waits in its queue first come, first served); the counts tell drain()
// when all have run.
class Worker final {
public:
    Worker()
    {
        m_pool.setObjectName(QStringLiteral("host work"));
        m_pool.setMaxThreadCount(1);
        m_pool.setExpiryTimeout(-1);
    }

    void post(Job job)
    {
        {
            const std::lock_guard lock(m_mutex);
            ++m_posted;
        }
        m_pool.start([this, job = std::move(job)]() mutable {
            job();
            job = nullptr;
            {
                const std::lock_guard lock(m_mutex);
                ++m_done;
            }
            m_changed.notify_all();
        });
    }

    bool drain(int limitMs)
    {
        std::unique_lock lock(m_mutex);
        const unsigned long long target = m_posted;
        return m_changed.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return m_done >= target; });
    }

    bool busy()
    {
        const std::lock_guard lock(m_mutex);
        return m_done < m_posted;
    }

    // True once every job has run and the thread is gone; a job still hanging past the limit is
    // left to the end of the process.
    bool stop(int limitMs)
    {
        drain(limitMs);
        return m_pool.waitForDone(100);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned long long m_posted = 0;
    unsigned long long m_done = 0;
    QThreadPool m_pool;
};

std::mutex instanceMutex;
Worker *instance = nullptr;
bool ended = false;
std::atomic<bool> runInline = false;

void endWorker()
{
    Worker *worker = nullptr;
    {
        const std::lock_guard lock(instanceMutex);
        worker = instance;
        instance = nullptr;
        ended = true;
    }
    if (!worker)
        return;
    // What was posted last (the user's own background and look given back at quit) still runs.
    if (worker->stop(10000))
        delete worker;
}

// The running worker; none without an application.
Worker *worker()
{
    const std::lock_guard lock(instanceMutex);
    if (instance || ended || !QCoreApplication::instance())
        return instance;
    instance = new Worker;
    qAddPostRoutine(endWorker);
    return instance;
}

} // namespace

void post(Job job)
{
    if (runInline) {
        job();
        return;
    }
    if (Worker *w = worker())
        w->post(std::move(job));
    else
        job();
}

void deliver(Job job)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        job();
    else
        QMetaObject::invokeMethod(app, std::move(job), Qt::QueuedConnection);
}

void post(Job job, Job then)
{
    post([job = std::move(job), then = std::move(then)]() mutable {
        job();
        deliver(std::move(then));
    });
}

bool drain(int limitMs)
{
    Worker *w = nullptr;
    {
        const std::lock_guard lock(instanceMutex);
        w = instance;
    }
    return !w || w->drain(limitMs);
}

void setInline(bool on)
{
    runInline = on;
}

bool busy()
{
    const std::lock_guard lock(instanceMutex);
    return instance && instance->busy();
}

} // namespace quorvane::HostWork
