// Scrolling over the status item: steps through the live desktops with the scroll display,
// and switches to the selected one once the scrolling has stopped.
#include "Controller/AppController.h"

#include <QPointer>

#include <cmath>

namespace quorvane {

namespace {

QStringList liveNames(const Config &config)
{
    QStringList names;
    for (const Workspace &workspace : config.liveWorkspaces())
        names << workspace.name;
    return names;
}

// Wrapping only with more than three desktops.
constexpr int wrapAbove = 3;

} // namespace

void AppController::handleScroll(const StatusItem::Wheel &wheel)
{
    // Inertial scrolling after the fingers lift neither steps nor postpones the commit.
    if (wheel.momentum)
        return;
    const QStringList ring = liveNames(document());
    if (ring.isEmpty())
        return;
    if (!m_scroll.scrolling) {
        m_scroll.scrolling = true;
        m_scroll.accum = 0;
        m_scroll.ring = ring;
        const qsizetype active = ring.indexOf(document().activeWorkspace);
        m_scroll.index = active >= 0 ? std::optional<int>(int(active)) : std::nullopt;
    }
    const double dy = wheel.deltaY;
    if (!wheel.precise) {
        if (dy != 0)
            advanceScroll(dy > 0 ? -1 : +1);
    } else {
        m_scroll.accum += dy;
        while (std::abs(m_scroll.accum) >= scrollStepPoints) {
            const bool up = m_scroll.accum > 0;
            advanceScroll(up ? -1 : +1);
            m_scroll.accum += up ? -scrollStepPoints : scrollStepPoints;
        }
    }
    scheduleScrollCommit();
}

void AppController::advanceScroll(int step)
{
    const int n = int(m_scroll.ring.size());
    if (n == 0)
        return;
    int index = 0;
    int slide = step;
    if (!m_scroll.index) {
        index = step < 0 ? n - 1 : 0;
    } else {
        const int j = *m_scroll.index + step;
        index = n > wrapAbove ? ((j % n) + n) % n : std::clamp(j, 0, n - 1);
        slide = index != *m_scroll.index ? step : 0;
    }
    m_scroll.index = index;
    m_scrollHUD.show(m_scroll.ring, index, n > wrapAbove, slide);
}

void AppController::scheduleScrollCommit()
{
    if (m_scrollCommit)
        m_env.scheduler->cancel(*m_scrollCommit);
    QPointer<AppController> weak(this);
    m_scrollCommit = m_env.scheduler->after(scrollCommitDelay, [weak] {
        if (!weak)
            return;
        weak->m_scrollCommit.reset();
        weak->commitScroll();
    });
}

void AppController::commitScroll()
{
    m_scrollHUD.hide();
    if (m_scroll.index && *m_scroll.index >= 0 && *m_scroll.index < m_scroll.ring.size()) {
        const QString name = m_scroll.ring[*m_scroll.index];
        const Config config = document();
        // The ring was fixed when the gesture began; the timers may have archived or drained a
        // desktop since. Only a desktop that is still live may become active.
        const bool live = liveNames(config).contains(name);
        if (live && name != config.activeWorkspace)
            performSwitch(name, true);
    }
    m_scroll.scrolling = false;
    m_scroll.index.reset();
    m_scroll.accum = 0;
}

} // namespace quorvane
