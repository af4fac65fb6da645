#pragma once

#include "Work/Scheduler.h"

#include <functional>
#include <map>

namespace quorvane::test {

// A Scheduler on a manual clock. Nothing runs until advance() moves the clock; then every
// callback that falls due runs in time order (ties in the order they were scheduled), with
// now() reading the moment it was due. Repeating timers are re-armed one interval after the
// moment they ran.
class ManualScheduler final : public Scheduler {
public:
    explicit ManualScheduler(double start = 0.0);

    Token after(double seconds, std::function<void()> fn) override;
    Token every(double seconds, std::function<void()> fn) override; // seconds must be > 0
    void cancel(Token token) override;
    double now() const override { return m_now; }

    // Moves the clock forward and runs what falls due on the way, including work scheduled
    // by the callbacks themselves. advance(0) runs what is already due.
    void advance(double seconds);
    // The number of callbacks still waiting.
    std::size_t pendingCount() const { return m_entries.size(); }
    bool isPending(Token token) const { return m_entries.count(token) != 0; }
    // How many callbacks were ever scheduled (after and every).
    int scheduledCount() const { return int(m_nextToken - 1); }

private:
    struct Entry {
        double due = 0;
        double interval = 0; // 0 for a one-shot
        std::uint64_t order = 0;
        std::function<void()> fn;
    };
    Token add(double seconds, double interval, std::function<void()> fn);

    double m_now;
    Token m_nextToken = 1;
    std::uint64_t m_nextOrder = 0;
    std::map<Token, Entry> m_entries;
};

} // namespace quorvane::test
