#pragma once

#include "DesktopSurface.h"
#include "IconPosition.h"
#include "StateStore.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace quorvane {

// Moves the unpinned Desktop items that pass a predicate (the screenshot test, or a name rule)
// into one desktop's folder and records the new ones in that desktop's record, each at the
// next slot of a fixed icon grid on a canvas of the given size. The surface and the store
// must outlive the sweeper.
class ScreenshotSweeper {
public:
    using Predicate = std::function<bool(const QString &)>;

    ScreenshotSweeper(DesktopSurface &surface, StateStore &store, std::int64_t canvasWidth, std::int64_t canvasHeight,
                      Predicate isScreenshot);

    // Returns the names moved, in listing order. Nothing happens when the Desktop and the
    // desktops folder lie on different volumes, the target is the active desktop or the blank
    // desktop, or its name
    // is one of the desktops folder's own entries; a target folder the surface refuses is
    // thrown (SwapError) before anything moves. A listing
    // failure is thrown before anything moves; a failed move skips that item; a failed
    // document update is thrown after the moves.
    QStringList sweep(const QString &target, const QString &activeWorkspace, const QSet<QString> &pinned);

    // The decision in pure form: the capture flag when there is one, else the name rule when
    // the file-name fallback is on.
    static bool isScreenshot(std::optional<bool> captureFlag, bool filenameFallback, bool nameMatches);

    // Slot n of the grid: columns of rows 90 points apart from the top right corner leftwards,
    // never left of x = 70.
    static IconPosition gridSlot(std::int64_t n, std::int64_t canvasWidth, std::int64_t canvasHeight);

private:
    DesktopSurface *m_surface;
    StateStore *m_store;
    Predicate m_isScreenshot;
    std::int64_t m_canvasWidth;
    std::int64_t m_canvasHeight;
};

} // namespace quorvane
