#pragma once

#include "DesktopCue.h"

#include <QList>
#include <QRect>
#include <QWidget>

#include <optional>
#include <vector>

namespace quorvane {

// The per-desktop wallpaper layer on every screen, with its menu-bar strips.
class DesktopCueOverlay {
public:
    // What relayout() last applied.
    struct Applied {
        std::optional<DesktopCue> cue;
        QList<QRect> screenFrames;
        bool hideStripInFullScreen = false;
        bool operator==(const Applied &) const = default;
    };

    std::optional<DesktopCue> current;
    bool hideStripInFullScreen = false;

    // Brings the overlay in line with current, the screens and the strip setting.
    void relayout();
    // Orders out the given strip windows, or, given none, all of the overlay's own strips.
    void rebuildStrips(const std::optional<std::vector<QWidget *>> &removing = std::nullopt);

    const std::optional<Applied> &applied() const { return m_applied; }

private:
    std::optional<Applied> m_applied;
    std::vector<QWidget *> m_strips;
};

} // namespace quorvane
