#include "Windows/WindowFader.h"

#include "Work/PoolWork.h"

#include <QFuture>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

namespace quorvane {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto frameInterval = std::chrono::microseconds(1000000 / 60);

// The property value Qt gives a window's opacity.
uint32_t opacityValue(double opacity)
{
    return uint32_t(std::llround(std::clamp(opacity, 0.0, 1.0) * 0xffffffffu));
}

} // namespace

struct X11WindowFader::Run {
    std::vector<WId> windows;
    double from = 1;
    double to = 1;
    double duration = 0;
    Curve curve;
    Clock::time_point begin = Clock::now();

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::atomic<double> reached{1};
    // The frames, on a thread of the pool; none when nothing is shown.
    std::optional<QFuture<void>> frames;

    // The opacity at a moment of the fade, by the clock alone.
    double at(Clock::time_point now) const
    {
        const double elapsed = std::chrono::duration<double>(now - begin).count();
        const double progress = duration > 0 ? std::clamp(elapsed / duration, 0.0, 1.0) : 1.0;
        return from + (to - from) * (curve ? curve(progress) : progress);
    }

    void play(xcb_connection_t *c)
    {
        static const char name[] = "_NET_WM_WINDOW_OPACITY";
        xcb_intern_atom_reply_t *atomReply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t property = atomReply ? atomReply->atom : XCB_NONE;
        std::free(atomReply);
        std::unique_lock lock(mutex);
        for (auto next = Clock::now();; next += frameInterval) {
            const auto now = Clock::now();
            const double opacity = at(now);
            if (property != XCB_NONE) {
                const uint32_t value = opacityValue(opacity);
                for (const WId window : windows)
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window), property, XCB_ATOM_CARDINAL, 32, 1,
                                        &value);
                // A round trip: the step has reached the server before the next one is due
                // and before stop() returns.
                std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
            }
            reached = opacity;
            if (now - begin >= std::chrono::duration<double>(duration))
                return;
            if (wake.wait_until(lock, next + frameInterval, [this] { return stopping; }))
                return;
        }
    }
};

X11WindowFader::X11WindowFader() = default;

X11WindowFader::~X11WindowFader()
{
    stop();
}

void X11WindowFader::start(const std::vector<WId> &windows, double from, double to, double duration, Curve curve)
{
    stop();
    m_run = std::make_unique<Run>();
    Run &run = *m_run;
    run.windows = windows;
    run.from = from;
    run.to = to;
    run.duration = std::max(0.0, duration);
    run.curve = std::move(curve);
    run.reached = from;
    run.begin = Clock::now();
    if (windows.empty() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const QByteArray display = qgetenv("DISPLAY");
    xcb_connection_t *c = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    run.frames = PoolWork::startNow([&run, c] {
        run.play(c);
        xcb_disconnect(c);
    });
}

double X11WindowFader::stop()
{
    if (!m_run)
        return m_reached;
    Run &run = *m_run;
    double reached;
    if (run.frames) {
        {
            std::lock_guard lock(run.mutex);
            run.stopping = true;
        }
        run.wake.notify_all();
        run.frames->waitForFinished();
        reached = run.reached;
    } else {
        reached = run.at(Clock::now());
    }
    m_run.reset();
    m_reached = reached;
    return reached;
}

} // namespace quorvane
