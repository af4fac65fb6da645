#pragma once

#include "IconPlacementRoutines.h"
#include "Overlays/FrameAnimation.h"
#include "Overlays/OverlayWindow.h"
#include "SwitchEffectTypes.h"
#include "Windows/CompositorProbe.h"
#include "Windows/ScreenList.h"
#include "Windows/WindowFader.h"
#include "Work/Scheduler.h"

#include <QColor>

#include <list>
#include <memory>
#include <set>
#include <vector>

namespace quorvane {

// The windows that dress a switch on every screen: a cover shown before the first file moves,
// fading in while the files move and out once the icons have settled, or a band that sweeps across each screen once and
// removes itself. One window per screen, just above the Desktop's icons and below every
// ordinary window. No blur exists behind a window here: a flat tint stands for each material.
// Without a compositing manager nothing is translucent: the cover is shown opaque and no sweep
// is built.
class SwitchTransitionOverlay {
public:
    static inline const QString coverTitle = QStringLiteral("Quorvane switch cover");
    static inline const QString sweepTitle = QStringLiteral("Quorvane switch sweep");
    static constexpr double previewRevealDelay = 0.22;
    static constexpr double sweepRemovalMargin = 0.05;
    // How long cover() serves window-system events at most while its windows get mapped.
    static constexpr double exposeLimit = 0.5;

    // sleep blocks cover() for the frame the compositing manager takes to show the cover; the
    // fader plays its fade-in (none: the display's own fader).
    SwitchTransitionOverlay(Scheduler &scheduler, ScreenList &screens, CompositorProbe &compositor,
                            Sleeper sleep = blockingSleep, WindowFader *fader = nullptr);
    ~SwitchTransitionOverlay();

    // The cover, one window per screen.
    const std::vector<std::unique_ptr<OverlayWindow>> &windows() const { return m_windows; }
    // The sweeps' windows whose removal has not run.
    const std::vector<std::unique_ptr<OverlayWindow>> &sweepWindows() const { return m_sweepWindows; }

    // With style none nothing, not even to a cover still held. Otherwise the cover still held
    // goes at once and a new one covers every screen. Returns as soon as the cover is on
    // screen, mapped and painted at its first frame: the caller blocks the event loop next,
    // and Qt maps and paints only from it, so meanwhile it serves window-system events (no
    // input, socket notifiers or timers) until each window is exposed. The fade-in to the peak
    // goes on through the fader while the caller moves the files.
    void cover(SwitchTransition style, SwitchBlurStyle blurStyle, float peakOpacity, double fadeIn);
    // Replaces a running sweep; the band's windows go startDelay + duration + 0.05 s from now.
    void sweep(SwitchBlurStyle blurStyle, float peakOpacity, double bandFraction, double duration,
               double startDelay, double angle);
    // Fades the cover out from the opacity it has reached, then orders it out. Nothing without
    // a cover; the sweep's windows are never touched.
    void reveal(SwitchTransition style, double fadeOut);
    // The cover fading in through the scheduler without blocking, revealed 0.22 s later.
    void preview(SwitchTransition style, SwitchBlurStyle blurStyle, float peakOpacity, double fadeIn, double fadeOut);

    // The flat colour standing for the blur style's material.
    static QColor tint(SwitchBlurStyle blurStyle);
    // Windows of revealed covers still fading out.
    std::size_t fadingCount() const;

private:
    struct Fading {
        std::vector<std::unique_ptr<OverlayWindow>> windows;
        std::unique_ptr<FrameAnimation> animation;
    };

    void teardown();
    void teardownSweep();
    void buildCover(SwitchBlurStyle blurStyle, float initialOpacity);
    void waitUntilExposed();
    void setCoverOpacity(double opacity);
    void track(Scheduler::Token token) { m_pending.insert(token); }

    // First: they go last, after the fader and the animations that work with them.
    std::vector<std::unique_ptr<OverlayWindow>> m_windows;
    std::vector<std::unique_ptr<OverlayWindow>> m_sweepWindows;
    Scheduler &m_scheduler;
    ScreenList &m_screens;
    CompositorProbe &m_compositor;
    Sleeper m_sleep;
    std::unique_ptr<WindowFader> m_ownFader;
    WindowFader &m_fader;
    bool m_coverFading = false; // the fader plays the cover's fade-in
    FrameAnimation m_fadeIn;
    FrameAnimation m_sweepFrames;
    std::list<Fading> m_fading;
    std::set<Scheduler::Token> m_pending;
};

} // namespace quorvane
