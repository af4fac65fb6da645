#include "HostWork.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace quorvane::HostWork {

namespace {

// The thread runs an event loop of its own while a job runs (a tool's process, a bus call), so
// it is a QThread; jobs wait in a queue of ours, so that drain() can tell when all have run.
class Worker final : public QThread {
public:
    void post(Job job)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
            ++m_posted;
        }
        m_changed.notify_all();
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

    void stop(int limitMs)
    {
        drain(limitMs);
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        // A job still hanging past the limit is left to the end of the process.
        wait(QDeadlineTimer(100));
    }

protected:
    void run() override
    {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_stopping || !m_jobs.empty(); });
                if (m_jobs.empty())
                    return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            job();
            {
                const std::lock_guard lock(m_mutex);
                ++m_done;
            }
            m_changed.notify_all();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    unsigned long long m_posted = 0;
    unsigned long long m_done = 0;
    bool m_stopping = false;
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
    worker->stop(10000);
    if (worker->isFinished())
        delete worker;
}

// The running worker; none without an application.
Worker *worker()
{
    const std::lock_guard lock(instanceMutex);
    if (instance || ended || !QCoreApplication::instance())
        return instance;
    instance = new Worker;
    instance->setObjectName(QStringLiteral("host work"));
    instance->start();
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
