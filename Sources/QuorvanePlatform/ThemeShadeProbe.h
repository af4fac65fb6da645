#pragma once

#include <QColor>

#include <functional>
#include <memory>

namespace quorvane {

// The status glyph's colour as the session's theme settings tell it, asked away from the event
// loop (HostWork): reading them starts the desktop's own tools, which may take seconds. Each
// question answers at once with the colour known so far and asks the session again; an answer
// that differs is reported through learned, on the GUI thread.
class ThemeShadeProbe {
public:
    using Probe = std::function<QColor()>;
    // probe runs on the worker; learned runs on the GUI thread, and may ask colour() again
    // without starting another probe.
    ThemeShadeProbe(Probe probe, std::function<void()> learned);

    // The colour known so far, invalid before the first answer. Starts a probe unless one is
    // under way or an answer is being reported.
    QColor colour();

private:
    struct State {
        Probe probe;
        std::function<void()> learned;
        QColor known;
        bool probing = false;
        bool reporting = false;
    };
    std::shared_ptr<State> m_state;
};

} // namespace quorvane
