#include "Work/QtScheduler.h"

#include <cmath>

namespace quorvane {

Scheduler::Token QtScheduler::after(double seconds, std::function<void()> fn)
{
    return start(seconds, false, std::move(fn));
}

Scheduler::Token QtScheduler::every(double seconds, std::function<void()> fn)
{
    return start(seconds, true, std::move(fn));
}

void QtScheduler::cancel(Token token)
{
    auto it = m_timers.find(token);
    if (it == m_timers.end())
        return;
    it->second->stop();
    // The timer may be the one whose callback is running: delete it once control returns.
    it->second.release()->deleteLater();
    m_timers.erase(it);
}

Scheduler::Token QtScheduler::start(double seconds, bool repeating, std::function<void()> fn)
{
    const Token token = m_next++;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(!repeating);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(int(std::lround(std::max(0.0, seconds) * 1000.0)));
    QObject::connect(timer.get(), &QTimer::timeout, [this, token, repeating, fn = std::move(fn)]() {
        if (!repeating)
            cancel(token);
        fn();
    });
    timer->start();
    m_timers.emplace(token, std::move(timer));
    return token;
}

} // namespace quorvane
