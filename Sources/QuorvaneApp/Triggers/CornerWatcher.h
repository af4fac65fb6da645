#pragma once

#include "CornerSummon.h"
#include "FloatingDockTypes.h"
#include "Shared/DocumentService.h"
#include "Shared/ScreenCoordinates.h"
#include "Windows/PointerSource.h"
#include "Work/Scheduler.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quorvane {

// Calls onTrigger when the pointer has dwelt in the chosen corner of any screen. While a
// corner is set the watcher looks at the pointer each time the source says it moved, so a
// pointer at rest costs nothing and the dwell starts as the pointer arrives. Where the source
// cannot tell, the pointer is polled every 50 ms instead; once it has rested outside the corner
// for a second the poll slows to every 200 ms, and the first movement it sees brings back the
// 50 ms poll. A look that finds the pointer where it was feeds the dwell trigger nothing, and a
// held button makes the movement a drag. Given the document service, it watches the corner and
// dwell the document names, and follows their changes. Main thread only.
class CornerWatcher {
public:
    static constexpr double minimumDwell = 0.02;
    static constexpr double pollInterval = 0.05;
    static constexpr double restingPollInterval = 0.2;
    static constexpr int pollsBeforeResting = 20;
    using Layout = std::function<ScreenLayout()>;

    CornerWatcher(Scheduler &scheduler, PointerSource &pointer, Layout layout = currentScreenLayout,
                  DocumentService *documents = nullptr);
    ~CornerWatcher();
    CornerWatcher(const CornerWatcher &) = delete;
    CornerWatcher &operator=(const CornerWatcher &) = delete;

    std::function<void()> onTrigger;

    // Off stops watching; otherwise (re)starts watching the corner with a dwell of dwellMs
    // (at least 0.02 s).
    void start(FloatingDockCorner corner, std::int64_t dwellMs);
    void stop();
    // The screens changed: the squares are computed afresh and a running dwell ends.
    void screensChanged();

    FloatingDockCorner corner() const { return m_corner; }
    double dwell() const { return m_dwell; }
    const std::vector<QRectF> &hotRects() const { return m_hotRects; }
    const CornerTrigger &trigger() const { return m_trigger; }
    bool isPolling() const { return m_poll.has_value(); }
    // True while the source notifies movements (no poll runs).
    bool isNotified() const { return m_notified; }
    bool isResting() const { return m_resting; }

private:
    void recomputeRects();
    void look();
    void schedulePoll(bool resting);
    void scheduleDwell();
    void cancelDwell();

    Scheduler &m_scheduler;
    PointerSource &m_pointer;
    Layout m_layout;
    CornerTrigger m_trigger;
    std::vector<QRectF> m_hotRects;
    qreal m_primaryBottom = 0;
    FloatingDockCorner m_corner = FloatingDockCorner::off;
    double m_dwell = 0.05;
    std::optional<Scheduler::Token> m_poll;
    std::optional<Scheduler::Token> m_pendingDwell;
    std::optional<QPointF> m_lastPosition;
    int m_stillPolls = 0;
    bool m_resting = false;
    bool m_notified = false;
    std::unique_ptr<QObject> m_screenObserver;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    // The corner and dwell the document asked for; its connection ends with the watcher.
    std::optional<std::pair<FloatingDockCorner, std::int64_t>> m_asked;
    QObject m_listening;
};

} // namespace quorvane
