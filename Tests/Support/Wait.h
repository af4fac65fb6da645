#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace quorvane::test {

// Serves the event loop until the condition holds or the time is up; the condition's last answer.
inline bool waitUntil(const std::function<bool()> &condition, int milliseconds = 3000)
{
    QDeadlineTimer deadline(milliseconds);
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
    waitUntil([] { return false; }, milliseconds);
}

} // namespace quorvane::test
