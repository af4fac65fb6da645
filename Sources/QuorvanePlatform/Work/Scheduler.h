#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace quorvane {

// Delayed work on the main thread. Every poll, debounce, dwell timer and animation goes through
// one Scheduler, so tests step them on a manual clock.
class Scheduler {
public:
    using Token = std::uint64_t;
    virtual ~Scheduler() = default;
    // Runs fn once after the given seconds; returns a token for cancel.
    virtual Token after(double seconds, std::function<void()> fn) = 0;
    // Runs fn every interval seconds until cancelled.
    virtual Token every(double seconds, std::function<void()> fn) = 0;
    // Cancelling an unknown or finished token does nothing.
    virtual void cancel(Token token) = 0;
    // A monotonic clock in seconds, the one the scheduled work is timed against. Only
    // differences between two readings mean anything.
    virtual double now() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
};

} // namespace quorvane
