#pragma once

#include "Work/Scheduler.h"

#include <functional>
#include <optional>

namespace quorvane {

// One animation played in frames every 1/60 s on a Scheduler and timed by its clock, so a
// manual clock steps it in tests and a main thread that was blocked resumes it where it
// belongs. step receives the linear progress from 0 to 1 (0 until begin); the last frame gets
// exactly 1, then the frames stop and done runs.
class FrameAnimation {
public:
    static constexpr double frameInterval = 1.0 / 60.0;

    explicit FrameAnimation(Scheduler &scheduler);
    ~FrameAnimation();
    FrameAnimation(const FrameAnimation &) = delete;
    FrameAnimation &operator=(const FrameAnimation &) = delete;

    // Replaces a running animation without finishing it. The first step runs at once.
    void start(double duration, std::function<void(double)> step, std::function<void()> done = {},
               double startDelay = 0);
    // Stops the frames; neither step nor done runs again.
    void stop();
    bool running() const { return m_timer.has_value(); }

private:
    void frame();

    Scheduler &m_scheduler;
    std::optional<Scheduler::Token> m_timer;
    unsigned m_generation = 0;
    double m_begin = 0;
    double m_duration = 0;
    std::function<void(double)> m_step;
    std::function<void()> m_done;
};

} // namespace quorvane
