#include "Overlays/SwitchTransitionOverlay.h"

#include "Overlays/SweepGeometry.h"
#include "Overlays/TimingCurve.h"
#include "Windows/X11Connection.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace quorvane {

namespace {

void orderOut(std::vector<std::unique_ptr<OverlayWindow>> &list)
{
    for (const auto &window : list)
        window->hide();
    list.clear();
}

// One window of a sweep: the tint under a soft band that lies across the screen at the
// sweep's angle and moves along its travel.
class SweepBand {
public:
    SweepBand(const SweepGeometry &geometry, const QColor &tint, double height)
        : m_geometry(geometry)
        , m_tint(tint)
        , m_height(height)
        , m_centre(geometry.start)
    {
    }
    void moveTo(double easedProgress) { m_centre = m_geometry.centreAt(easedProgress); }
    // The band's place in the window, its window's shape: outside it the window has no pixels,
    // so what lies beneath shows there whatever the compositing manager makes of a transparent
    // pixel. A band off the screen leaves one pixel outside the window (an empty region would
    // be no shape at all).
    QRegion outline(const QSize &window) const
    {
        const double b = m_geometry.bandWidth;
        QTransform place;
        place.translate(m_centre.x(), m_height - m_centre.y());
        place.rotate(-m_geometry.rotationDegrees);
        const QPolygonF band = place.map(QPolygonF(QRectF(-b / 2, -m_geometry.maskHeight / 2, b, m_geometry.maskHeight)));
        const QRegion inside = QRegion(band.toPolygon()) & QRegion(QRect(QPoint(0, 0), window));
        return inside.isEmpty() ? QRegion(-1, -1, 1, 1) : inside;
    }
    void paint(QPainter &painter) const
    {
        const double b = m_geometry.bandWidth;
        QLinearGradient mask(-b / 2, 0, b / 2, 0);
        QColor clear = m_tint;
        clear.setAlphaF(0);
        mask.setColorAt(0, clear);
        mask.setColorAt(0.46, m_tint);
        mask.setColorAt(0.54, m_tint);
        mask.setColorAt(1, clear);
        painter.setRenderHint(QPainter::Antialiasing);
        // Content coordinates are y-up: flip the centre, and the counter-clockwise rotation
        // becomes a negative angle in the window's y-down coordinates.
        painter.translate(m_centre.x(), m_height - m_centre.y());
        painter.rotate(-m_geometry.rotationDegrees);
        painter.fillRect(QRectF(-b / 2, -m_geometry.maskHeight / 2, b, m_geometry.maskHeight), mask);
    }

private:
    SweepGeometry m_geometry;
    QColor m_tint;
    double m_height;
    QPointF m_centre;
};

} // namespace

SwitchTransitionOverlay::SwitchTransitionOverlay(Scheduler &scheduler, ScreenList &screens, CompositorProbe &compositor,
                                                 Sleeper sleep, WindowFader *fader)
    : m_scheduler(scheduler)
    , m_screens(screens)
    , m_compositor(compositor)
    , m_sleep(std::move(sleep))
    , m_ownFader(fader ? nullptr : std::make_unique<X11WindowFader>())
    , m_fader(fader ? *fader : *m_ownFader)
    , m_fadeIn(scheduler)
    , m_sweepFrames(scheduler)
{
}

SwitchTransitionOverlay::~SwitchTransitionOverlay()
{
    if (m_coverFading)
        m_fader.stop();
    for (const Scheduler::Token token : m_pending)
        m_scheduler.cancel(token);
}

QColor SwitchTransitionOverlay::tint(SwitchBlurStyle blurStyle)
{
    switch (blurStyle) {
    case SwitchBlurStyle::frost:
        return QColor(0xE8, 0xEA, 0xED);
    case SwitchBlurStyle::soft:
        return QColor(0xC9, 0xCD, 0xD2);
    case SwitchBlurStyle::light:
        return QColor(0xF7, 0xF7, 0xF7);
    case SwitchBlurStyle::dark: {
        // #1E1E22 with black at 0.22 over it.
        const auto over = [](int c) { return int(std::lround(c * (1 - 0.22))); };
        return QColor(over(0x1E), over(0x1E), over(0x22));
    }
    }
    return QColor(0xE8, 0xEA, 0xED);
}

std::size_t SwitchTransitionOverlay::fadingCount() const
{
    std::size_t count = 0;
    for (const Fading &fading : m_fading)
        count += fading.windows.size();
    return count;
}

void SwitchTransitionOverlay::teardown()
{
    if (m_coverFading) {
        m_coverFading = false;
        m_fader.stop();
    }
    m_fadeIn.stop();
    orderOut(m_windows);
}

void SwitchTransitionOverlay::teardownSweep()
{
    m_sweepFrames.stop();
    orderOut(m_sweepWindows);
}

void SwitchTransitionOverlay::buildCover(SwitchBlurStyle blurStyle, float initialOpacity)
{
    const QColor color = tint(blurStyle);
    for (const QRect &frame : m_screens.frames()) {
        auto window = std::make_unique<OverlayWindow>(coverTitle, frame, WindowLevel::aboveIcons,
                                                      [color](QPainter &painter, const QRect &area) {
                                                          painter.fillRect(area, color);
                                                      });
        setWindowOpacity(window.get(), initialOpacity);
        window->show();
        m_windows.push_back(std::move(window));
    }
}

void SwitchTransitionOverlay::setCoverOpacity(double opacity)
{
    for (const auto &window : m_windows)
        setWindowOpacity(window.get(), opacity);
}

void SwitchTransitionOverlay::waitUntilExposed()
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(exposeLimit);
    const auto flags = QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers
        | QEventLoop::X11ExcludeTimers;
    for (;;) {
        QCoreApplication::processEvents(flags);
        const bool exposed = std::all_of(m_windows.begin(), m_windows.end(), [](const auto &window) {
            return window->windowHandle() && window->windowHandle()->isExposed();
        });
        if (exposed || Clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void SwitchTransitionOverlay::cover(SwitchTransition style, SwitchBlurStyle blurStyle, float peakOpacity, double fadeIn)
{
    if (style == SwitchTransition::none || !overlayServed("the switch transition"))
        return;
    teardown();
    const bool translucent = m_compositor.compositing();
    const bool fades = translucent && fadeIn > 0;
    buildCover(blurStyle, fades ? 0.0f : translucent ? peakOpacity
                                                     : 1.0f);
    if (m_windows.empty())
        return;
    waitUntilExposed();
    for (const auto &window : m_windows)
        window->repaint();
    // Once the server has the windows and their picture, one more frame lets the compositing
    // manager draw them.
    x11::sync();
    if (fades) {
        // The fade runs on the fader's clock while the caller holds the main thread; the
        // windows' opacity as Qt knows it is set again when the cover is revealed.
        std::vector<WId> ids;
        for (const auto &window : m_windows)
            ids.push_back(window->winId());
        m_fader.start(ids, 0.0, peakOpacity, fadeIn, timing::easeOut);
        m_coverFading = true;
    }
    m_sleep(FrameAnimation::frameInterval);
}

void SwitchTransitionOverlay::preview(SwitchTransition style, SwitchBlurStyle blurStyle, float peakOpacity, double fadeIn,
                                      double fadeOut)
{
    if (style == SwitchTransition::none || !overlayServed("the switch transition"))
        return;
    teardown();
    const bool translucent = m_compositor.compositing();
    buildCover(blurStyle, translucent ? 0.0f : 1.0f);
    if (translucent && !m_windows.empty())
        m_fadeIn.start(fadeIn, [this, peakOpacity](double progress) {
            setCoverOpacity(peakOpacity * timing::easeOut(progress));
        });
    track(m_scheduler.after(previewRevealDelay, [this, style, fadeOut] { reveal(style, fadeOut); }));
}

void SwitchTransitionOverlay::reveal(SwitchTransition, double fadeOut)
{
    if (m_windows.empty())
        return;
    m_fadeIn.stop(); // the fade-out starts from the opacity reached
    if (m_coverFading) {
        m_coverFading = false;
        setCoverOpacity(m_fader.stop());
    }
    Fading fading;
    fading.windows.swap(m_windows);
    if (!m_compositor.compositing()) {
        orderOut(fading.windows);
        return;
    }
    std::vector<double> from;
    for (const auto &window : fading.windows)
        from.push_back(windowOpacity(window.get()));
    fading.animation = std::make_unique<FrameAnimation>(m_scheduler);
    m_fading.push_back(std::move(fading));
    const auto group = std::prev(m_fading.end());
    group->animation->start(
        fadeOut,
        [group, from](double progress) {
            const double left = 1 - timing::easeInEaseOut(progress);
            for (std::size_t i = 0; i < group->windows.size(); ++i)
                setWindowOpacity(group->windows[i].get(), from[i] * left);
        },
        [this, group] {
            orderOut(group->windows);
            m_fading.erase(group);
        });
}

void SwitchTransitionOverlay::sweep(SwitchBlurStyle blurStyle, float peakOpacity, double bandFraction, double duration,
                                    double startDelay, double angle)
{
    teardownSweep();
    if (!overlayServed("the switch transition") || !m_compositor.compositing())
        return; // opaque, the band's window would hide the whole screen
    const QColor color = tint(blurStyle);
    // Held by pointers that clear themselves: a window a later sweep ordered out is gone, and
    // its address may already belong to one of that later sweep's windows.
    std::vector<QPointer<OverlayWindow>> taken;
    std::vector<std::shared_ptr<SweepBand>> bands;
    for (const QRect &frame : m_screens.frames()) {
        const auto geometry = SweepGeometry::forScreen(frame.size(), bandFraction, angle);
        auto band = std::make_shared<SweepBand>(geometry, color, frame.height());
        auto window = std::make_unique<OverlayWindow>(
            sweepTitle, frame, WindowLevel::aboveIcons, [band](QPainter &painter, const QRect &) { band->paint(painter); },
            true);
        setWindowOpacity(window.get(), peakOpacity);
        window->setMask(band->outline(frame.size()));
        window->show();
        taken.push_back(window.get());
        bands.push_back(band);
        m_sweepWindows.push_back(std::move(window));
    }
    if (!bands.empty()) {
        // The band's place follows the clock, so a switch that blocks past the start delay
        // finds it where it belongs once frames run again.
        m_sweepFrames.start(
            duration,
            [bands, taken](double progress) {
                const double eased = timing::easeInEaseOut(progress);
                for (std::size_t i = 0; i < bands.size(); ++i) {
                    bands[i]->moveTo(eased);
                    if (OverlayWindow *window = taken[i]) {
                        window->setMask(bands[i]->outline(window->size()));
                        window->update();
                    }
                }
            },
            {}, startDelay);
    }
    track(m_scheduler.after(startDelay + duration + sweepRemovalMargin, [this, taken] {
        for (const QPointer<OverlayWindow> &window : taken) {
            if (!window)
                continue; // a later sweep already ordered it out
            const auto it = std::find_if(m_sweepWindows.begin(), m_sweepWindows.end(),
                                         [window](const auto &held) { return held.get() == window; });
            if (it == m_sweepWindows.end())
                continue; // a later sweep already ordered it out
            (*it)->hide();
            m_sweepWindows.erase(it);
        }
    }));
}

} // namespace quorvane
