#pragma once

#include "Scheduler.h"

#include <functional>
#include <map>

namespace quorvane::test {

// A scheduler on a clock that moves only when the test advances it. Work falls due in order
// of its due time (then of scheduling) and runs inside advance().
class ManualScheduler : public Scheduler {
public:
    double now = 0;
    // How many times after() or every() was called.
    int scheduledCount = 0;

    Token after(double seconds, std::function<void()> fn) override { return add(seconds, 0, std::move(fn)); }
    Token every(double seconds, std::function<void()> fn) override { return add(seconds, seconds, std::move(fn)); }
    void cancel(Token token) override { m_tasks.erase(token); }

    std::size_t pending() const { return m_tasks.size(); }

    void advance(double seconds)
    {
        const double until = now + seconds;
        for (;;) {
            auto next = m_tasks.end();
            for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
                if (it->second.due <= until + 1e-9 && (next == m_tasks.end() || it->second.due < next->second.due))
                    next = it;
            }
            if (next == m_tasks.end())
                break;
            now = next->second.due;
            std::function<void()> fn = next->second.fn;
            if (next->second.interval > 0)
                next->second.due += next->second.interval;
            else
                m_tasks.erase(next);
            fn();
        }
        now = until;
    }

private:
    struct Task {
        double due;
        double interval;
        std::function<void()> fn;
    };

    Token add(double seconds, double interval, std::function<void()> fn)
    {
        ++scheduledCount;
        m_tasks.emplace(m_next, Task{now + seconds, interval, std::move(fn)});
        return m_next++;
    }

    Token m_next = 1;
    std::map<Token, Task> m_tasks;
};

} // namespace quorvane::test
