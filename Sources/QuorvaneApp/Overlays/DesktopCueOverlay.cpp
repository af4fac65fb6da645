#include "Overlays/DesktopCueOverlay.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorvane {

namespace {

QList<QRect> screenFrames()
{
    QList<QRect> frames;
    for (const QScreen *screen : QGuiApplication::screens())
        frames.append(screen->geometry());
    return frames;
}

bool onlyOpacityDiffers(const std::optional<DesktopCue> &a, const std::optional<DesktopCue> &b)
{
    if (!a || !b || a->opacity == b->opacity)
        return false;
    DesktopCue same = *a;
    same.opacity = b->opacity;
    return same == *b;
}

} // namespace

// The band and strip windows are not built yet: relayout records what it applies, so the
// comparisons hold once windows exist, and shows nothing.
void DesktopCueOverlay::relayout()
{
    Applied next{current, screenFrames(), hideStripInFullScreen};
    if (m_applied && *m_applied == next)
        return; // would bring the existing windows to the front
    if (m_applied && m_applied->screenFrames == next.screenFrames
        && m_applied->hideStripInFullScreen == next.hideStripInFullScreen
        && onlyOpacityDiffers(m_applied->cue, next.cue)) {
        m_applied->cue = next.cue; // would set every window's alpha
        return;
    }
    m_applied = std::move(next);
}

void DesktopCueOverlay::rebuildStrips(const std::optional<std::vector<QWidget *>> &removing)
{
    std::vector<QWidget *> windows;
    if (removing) {
        windows = *removing;
    } else {
        windows.swap(m_strips);
    }
    for (QWidget *window : windows) {
        if (window)
            window->hide();
    }
}

} // namespace quorvane
