#include "Overlays/FrameAnimation.h"

#include <algorithm>

namespace quorvane {

FrameAnimation::FrameAnimation(Scheduler &scheduler)
    : m_scheduler(scheduler)
{
}

FrameAnimation::~FrameAnimation()
{
    stop();
}

void FrameAnimation::start(double duration, std::function<void(double)> step, std::function<void()> done,
                           double startDelay)
{
    stop();
    ++m_generation;
    m_begin = m_scheduler.now() + startDelay;
    m_duration = duration;
    m_step = std::move(step);
    m_done = std::move(done);
    m_timer = m_scheduler.every(frameInterval, [this] { frame(); });
    frame();
}

void FrameAnimation::stop()
{
    if (m_timer)
        m_scheduler.cancel(*m_timer);
    m_timer.reset();
}

void FrameAnimation::frame()
{
    const double elapsed = m_scheduler.now() - m_begin;
    const double progress = m_duration <= 0 ? (elapsed >= 0 ? 1.0 : 0.0) : std::clamp(elapsed / m_duration, 0.0, 1.0);
    // Both callbacks may start or stop this animation, so they run from copies.
    const auto step = m_step;
    const auto generation = m_generation;
    if (step)
        step(progress);
    if (progress < 1 || !m_timer || generation != m_generation)
        return;
    stop();
    if (const auto done = std::move(m_done))
        done();
}

} // namespace quorvane
