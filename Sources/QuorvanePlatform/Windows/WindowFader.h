#pragma once

#include <QWindow>

#include <functional>
#include <memory>
#include <vector>

namespace quorvane {

// Plays a change of some windows' opacity on a clock of its own, away from the main thread,
// so that it goes on while the main thread is blocked (a switch moving files): the compositing
// manager draws each step as it comes, as a window server would animate.
class WindowFader {
public:
    // Eases the linear progress 0...1.
    using Curve = std::function<double(double)>;

    virtual ~WindowFader() = default;
    // Fades the windows from one opacity to another over the duration (seconds); returns at
    // once. A fade still running is stopped first, where it is.
    virtual void start(const std::vector<WId> &windows, double from, double to, double duration, Curve curve) = 0;
    // Stops the fade and returns the opacity reached (the target once it has ended; that of
    // the last fade, or 1, when none runs). Once it returns no step reaches a window any more.
    virtual double stop() = 0;
};

// X11: its own connection to the display on a thread of the pool (PoolWork), setting the windows'
// _NET_WM_WINDOW_OPACITY 60 times a second, as Qt sets it for a window's opacity. Without X11
// (off screen, Wayland) it only keeps the clock, so stop() still tells the opacity reached.
class X11WindowFader final : public WindowFader {
public:
    X11WindowFader();
    ~X11WindowFader() override;
    X11WindowFader(const X11WindowFader &) = delete;
    X11WindowFader &operator=(const X11WindowFader &) = delete;

    void start(const std::vector<WId> &windows, double from, double to, double duration, Curve curve) override;
    double stop() override;

private:
    struct Run;
    std::unique_ptr<Run> m_run;
    double m_reached = 1;
};

} // namespace quorvane
