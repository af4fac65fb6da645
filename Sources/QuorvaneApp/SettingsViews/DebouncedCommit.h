#pragma once

#include "Work/Scheduler.h"

#include <functional>
#include <optional>

namespace quorvane {

// A write held back for a short delay: starting it again, or cancelling it, drops the pending
// one. The commit carries its own value (captured when started), so it writes what was chosen
// then even if the view that started it is gone.
class DebouncedCommit {
public:
    DebouncedCommit(Scheduler &scheduler, double seconds);
    ~DebouncedCommit();
    DebouncedCommit(const DebouncedCommit &) = delete;
    DebouncedCommit &operator=(const DebouncedCommit &) = delete;

    void start(std::function<void()> commit);
    void cancel();
    // Writes the pending commit now instead of after the delay; nothing when none is pending.
    void flush();
    bool pending() const { return m_token.has_value(); }

private:
    void fire();

    Scheduler &m_scheduler;
    double m_seconds;
    std::optional<Scheduler::Token> m_token;
    std::function<void()> m_commit;
};

} // namespace quorvane
