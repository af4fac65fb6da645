#include "Triggers/CornerWatcher.h"

namespace quorvane {

CornerWatcher::CornerWatcher(Scheduler &scheduler, PointerSource &pointer, Layout layout, DocumentService *documents)
    : m_scheduler(scheduler)
    , m_pointer(pointer)
    , m_layout(std::move(layout))
{
    if (!documents)
        return;
    QObject::connect(documents, &DocumentService::changed, &m_listening, [this](const Config &config) {
        const std::pair wanted{config.settings.floatingDockCorner, config.settings.floatingDockCornerDwellMs};
        if (m_asked == wanted)
            return;
        m_asked = wanted;
        start(wanted.first, wanted.second);
    });
}

CornerWatcher::~CornerWatcher()
{
    stop();
}

void CornerWatcher::start(FloatingDockCorner corner, std::int64_t dwellMs)
{
    if (corner == FloatingDockCorner::off) {
        stop();
        return;
    }
    m_corner = corner;
    const double seconds = double(dwellMs) / 1000.0;
    m_dwell = seconds <= minimumDwell ? minimumDwell : seconds;
    recomputeRects();
    cancelDwell();
    m_trigger.reset();
    m_lastPosition.reset();
    std::weak_ptr<bool> alive = m_alive;
    m_notified = m_pointer.notifyChanges([this, alive] {
        if (alive.lock())
            look();
    });
    if (m_notified) {
        if (m_poll)
            m_scheduler.cancel(*m_poll);
        m_poll.reset();
        m_resting = false;
        look(); // the first look only notes where the pointer is
    } else {
        schedulePoll(false);
    }
    if (!m_screenObserver) {
        m_screenObserver = std::make_unique<QObject>();
        observeScreenChanges(m_screenObserver.get(), [this] { screensChanged(); });
    }
}

void CornerWatcher::stop()
{
    m_corner = FloatingDockCorner::off;
    m_hotRects.clear();
    cancelDwell();
    m_trigger.reset();
    if (m_notified)
        m_pointer.notifyChanges({});
    m_notified = false;
    if (m_poll)
        m_scheduler.cancel(*m_poll);
    m_poll.reset();
    m_lastPosition.reset();
    m_stillPolls = 0;
    m_resting = false;
    m_screenObserver.reset();
}

void CornerWatcher::schedulePoll(bool resting)
{
    if (m_poll)
        m_scheduler.cancel(*m_poll);
    m_resting = resting;
    m_stillPolls = 0;
    std::weak_ptr<bool> alive = m_alive;
    m_poll = m_scheduler.every(resting ? restingPollInterval : pollInterval, [this, alive] {
        if (alive.lock())
            look();
    });
}

void CornerWatcher::screensChanged()
{
    if (m_corner == FloatingDockCorner::off)
        return;
    recomputeRects();
    cancelDwell();
    m_trigger.reset();
}

void CornerWatcher::recomputeRects()
{
    const ScreenLayout layout = m_layout ? m_layout() : ScreenLayout{};
    m_primaryBottom = layout.primaryBottom;
    m_hotRects.clear();
    for (const QRectF &frame : layout.frames) {
        if (const auto square = CornerHitTest::rect(m_corner, frame))
            m_hotRects.push_back(*square);
    }
}

void CornerWatcher::look()
{
    if (m_corner == FloatingDockCorner::off)
        return;
    const auto state = m_pointer.read();
    const bool moved = state && (!m_lastPosition || *m_lastPosition != state->position);
    if (!moved) {
        // No movement since the last look (or no pointer to read). Outside the corner and with
        // no dwell running, a long enough rest slows the poll down.
        if (!m_notified && !m_resting && !m_trigger.isInside && !m_pendingDwell && ++m_stillPolls >= pollsBeforeResting)
            schedulePoll(true);
        return;
    }
    const bool first = !m_lastPosition;
    m_lastPosition = state->position;
    m_stillPolls = 0;
    if (m_resting)
        schedulePoll(false);
    if (first)
        return;
    const bool inside = CornerHitTest::isInside(flippedPoint(state->position, m_primaryBottom), m_hotRects);
    if (!inside && !m_trigger.isInside)
        return;
    switch (m_trigger.pointerMoved(inside, state->buttonHeld)) {
    case CornerTrigger::Outcome::startDwell:
        scheduleDwell();
        break;
    case CornerTrigger::Outcome::cancelDwell:
        cancelDwell();
        break;
    case CornerTrigger::Outcome::idle:
        break;
    }
}

void CornerWatcher::scheduleDwell()
{
    cancelDwell();
    std::weak_ptr<bool> alive = m_alive;
    m_pendingDwell = m_scheduler.after(m_dwell, [this, alive] {
        if (!alive.lock())
            return;
        m_pendingDwell.reset();
        if (m_trigger.dwellCompleted() && onTrigger)
            onTrigger();
    });
}

void CornerWatcher::cancelDwell()
{
    if (m_pendingDwell)
        m_scheduler.cancel(*m_pendingDwell);
    m_pendingDwell.reset();
}

} // namespace quorvane
