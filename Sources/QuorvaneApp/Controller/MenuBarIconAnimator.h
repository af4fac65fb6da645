#pragma once

#include "Scheduler.h"
#include "StatusItem.h"
#include "SwitchEffectTypes.h"

#include <QColor>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// Owns the status glyph's resting layout, puts the glyph on the status item and plays the
// short animation after a switch, one frame every 1/60 s through the scheduler.
// Main thread only.
class MenuBarIconAnimator {
public:
    using Widths = std::vector<double>;
    using FrameFunction = std::function<Widths(double progress)>;

    static const Widths restWidths; // 126, 44, 28
    static const Widths restRadii;  // 16, 14, 13
    static constexpr double nudgeDuration = 1.15;
    static constexpr double mirrorDuration = 0.52;

    explicit MenuBarIconAnimator(Scheduler &scheduler);
    ~MenuBarIconAnimator();
    MenuBarIconAnimator(const MenuBarIconAnimator &) = delete;
    MenuBarIconAnimator &operator=(const MenuBarIconAnimator &) = delete;

    // Keeps the item weakly and shows the resting glyph on it.
    void install(const std::shared_ptr<StatusItem> &item);
    // After a switch: none leaves the glyph alone; nudge and mirror play from the current rest.
    void playSwitch(MenuBarAnimation style);
    // Stops any animation and shows the rest layout, largest bar on the left.
    void resetToRest();

    const Widths &restingWidths() const { return m_restingWidths; }
    const Widths &restingRadii() const { return m_restingRadii; }
    double frameInterval() const { return m_frameInterval; }
    bool isPlaying() const { return m_timer.has_value(); }

    // The image put on the status item for one frame.
    static QImage trayImage(const Widths &widths, const Widths &radii);

    // The frame maths, each a function of progress 0...1.
    static FrameFunction nudgeFrame(const Widths &rest);
    static FrameFunction mirrorFrame(const Widths &rest);
    static Widths radii(const Widths &widths);
    static Widths sample(const std::vector<Widths> &keyframes, double progress);

private:
    void play(double duration, FrameFunction frame);
    void stopTimer();

    Scheduler &m_scheduler;
    std::weak_ptr<StatusItem> m_item;
    std::optional<Scheduler::Token> m_timer;
    Widths m_restingWidths = restWidths;
    Widths m_restingRadii = restRadii;
    double m_frameInterval = 1.0 / 60.0;
};

} // namespace quorvane
