#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace quorvane::test {

// How many times longer than on an idle machine a step may take now: 1, and one more for each
// core's worth of runnable work (the larger of the last minute's load average and the tasks
// runnable this moment), at most 6. Support/wait_lib.sh reckons the same for the shell tests.
inline int slowness()
{
    std::ifstream loadavg("/proc/loadavg");
    double load = 0;
    std::string skip;
    int runnable = 0; // of "runnable/all"
    if (!(loadavg >> load >> skip >> skip >> runnable))
        return 1;
    load = std::max(load, double(runnable));
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(6, 1 + int(load) / cores);
}

// Serves the event loop until the condition holds or the time is up; the condition's last answer.
// The limit is an idle machine's, stretched by slowness().
inline bool waitUntil(const std::function<bool()> &condition, int milliseconds = 3000)
{
    QDeadlineTimer deadline(qint64(milliseconds) * slowness());
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Serves the event loop for a while, for what must not happen.
inline void serveFor(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

} // namespace quorvane::test
