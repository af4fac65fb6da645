#include "ManualScheduler.h"

#include <algorithm>
#include <stdexcept>

namespace quorvane::test {

ManualScheduler::ManualScheduler(double start)
    : m_now(start)
{
}

Scheduler::Token ManualScheduler::after(double seconds, std::function<void()> fn)
{
    return add(seconds, 0, std::move(fn));
}

Scheduler::Token ManualScheduler::every(double seconds, std::function<void()> fn)
{
    if (!(seconds > 0))
        throw std::invalid_argument("a repeating timer needs a positive interval");
    return add(seconds, seconds, std::move(fn));
}

void ManualScheduler::cancel(Token token)
{
    m_entries.erase(token);
}

Scheduler::Token ManualScheduler::add(double seconds, double interval, std::function<void()> fn)
{
    const Token token = m_nextToken++;
    m_entries.emplace(token, Entry{m_now + std::max(0.0, seconds), interval, m_nextOrder++, std::move(fn)});
    return token;
}

void ManualScheduler::advance(double seconds)
{
    const double target = m_now + std::max(0.0, seconds);
    for (;;) {
        auto next = m_entries.end();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->second.due > target)
                continue;
            if (next == m_entries.end() || it->second.due < next->second.due
                || (it->second.due == next->second.due && it->second.order < next->second.order))
                next = it;
        }
        if (next == m_entries.end())
            break;
        m_now = std::max(m_now, next->second.due);
        // Copy the callback: it may cancel its own token, which destroys the entry.
        auto fn = next->second.fn;
        if (next->second.interval > 0) {
            next->second.due = m_now + next->second.interval;
            next->second.order = m_nextOrder++;
        } else {
            m_entries.erase(next);
        }
        fn();
    }
    m_now = target;
}

} // namespace quorvane::test
