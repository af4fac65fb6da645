#pragma once

#include <QColor>

#include <functional>
#include <memory>

namespace quorvane {

// The status glyph's colour as the panel's theme settings tell it. The settings come from the
// session's tools, which take a while to answer (or hang), so they are asked away from the event
// loop (HostWork), one question at a time: colour() answers at once with what the last answer
// said (invalid before the first) and asks again; `changed` runs on the GUI thread when an
// answer differs from the one before.
class PanelThemeShade : public std::enable_shared_from_this<PanelThemeShade> {
public:
    using Probe = std::function<QColor()>; // runs away from the GUI thread

    static std::shared_ptr<PanelThemeShade> create(Probe probe, std::function<void()> changed);

    QColor colour();
    // Whether a question is under way.
    bool asking() const { return m_asking; }

private:
    PanelThemeShade(Probe probe, std::function<void()> changed);

    Probe m_probe;
    std::function<void()> m_changed;
    QColor m_colour;
    bool m_asking = false;
};

} // namespace quorvane
