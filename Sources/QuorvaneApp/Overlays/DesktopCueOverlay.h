#pragma once

#include "DesktopCue.h"
#include "Overlays/DesktopBackground.h"
#include "Overlays/OverlayWindow.h"
#include "Shared/DocumentService.h"
#include "Windows/CompositorProbe.h"
#include "Windows/ScreenList.h"

#include <QList>
#include <QObject>
#include <QRect>

#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

class CueImageCache;

// The active desktop's cue on every screen: one band window per screen, as large as the
// screen, showing the cue's colour or image at the cue's opacity, at the desktop level (a
// desktop-type window kept below every other) or just above the Desktop's icons. Bands never
// take input: clicks reach the desktop below. Where a desktop host draws the wallpaper and the
// icons in one window, no window can lie between the two: a cue below the icons is then the
// host's own background (DesktopBackground), and the user's own comes back when a cue below
// the icons is no longer shown.
// Bands are rebuilt only when what they show changes; the old ones are ordered out once every
// new band has painted its first frame, so the Desktop is never uncovered in between.
// Without a compositing manager no band is built: opaque, it would hide the Desktop's items.
//
// The menu-bar strips, and the poll that hides them during the show-desktop gesture, are left
// out: no strip window is ever made, so hideStripInFullScreen only takes part in the change
// test and draws nothing.
// Given the document service, it shows the active desktop's cue as the document has it, and
// follows the document's changes.
class DesktopCueOverlay {
public:
    static inline const QString bandTitle = QStringLiteral("Quorvane desktop cue");

    // What relayout() last applied.
    struct Applied {
        std::optional<DesktopCue> cue;
        QList<QRect> screenFrames;
        bool hideStripInFullScreen = false;
        bool compositing = false; // a compositing manager started or stopped since is a change
        bool operator==(const Applied &) const = default;
    };

    // Lays itself out again whenever the screens change or a compositing manager starts or stops.
    // background: the desktop host's background for a cue below the icons; none: bands only.
    // images: the decoded cue pictures the application keeps; none: the overlay keeps its own.
    DesktopCueOverlay(ScreenList &screens, CompositorProbe &compositor, DesktopBackground *background = nullptr,
                      DocumentService *documents = nullptr, CueImageCache *images = nullptr);
    ~DesktopCueOverlay();
    DesktopCueOverlay(const DesktopCueOverlay &) = delete;
    DesktopCueOverlay &operator=(const DesktopCueOverlay &) = delete;

    // Shows cue whatever its enabled flag says; none shows nothing.
    void show(const std::optional<DesktopCue> &cue, bool hideStripInFullScreen = false);
    // Shows the named desktop's cue as config has it: nothing when it has none, when it is off
    // or while cues are muted.
    void showDesktop(const Config &config, const QString &name);
    const std::optional<DesktopCue> &current() const { return m_current; }

    // Brings the bands in line with the cue shown, the screens, the strip setting and whether a
    // compositing manager runs (asked afresh: one may start or stop while the application runs).
    void relayout();

    const Applied &applied() const { return m_applied; }
    const std::vector<std::unique_ptr<OverlayWindow>> &bands() const { return m_bands; }
    // Old bands still waiting for the new ones' first frame.
    std::size_t leavingCount() const { return m_leaving.size(); }

private:
    void retireLeavingWhenPainted();

    std::unique_ptr<CueImageCache> m_ownImages; // when none was given
    CueImageCache &m_images;
    ScreenList &m_screens;
    CompositorProbe &m_compositor;
    DesktopBackground *m_background = nullptr;
    ScreenList::Token m_observer = 0;
    Applied m_applied;
    std::vector<std::unique_ptr<OverlayWindow>> m_bands;
    std::vector<std::unique_ptr<OverlayWindow>> m_leaving;
    std::optional<DesktopCue> m_current;
    bool m_hideStripInFullScreen = false;
    unsigned m_generation = 0;
    std::size_t m_unpainted = 0;
    QObject m_listening; // the document's connection ends with the overlay
};

} // namespace quorvane
