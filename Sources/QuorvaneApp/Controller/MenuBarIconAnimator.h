#pragma once

#include "Shared/DocumentService.h"
#include "SwitchEffectTypes.h"
#include "Tray/StatusItem.h"
#include "Work/Scheduler.h"

#include <QColor>
#include <QImage>
#include <QObject>

#include <compare>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// Owns the status glyph's resting layout, puts the glyph on the status item and plays the
// short animation after a switch, one frame every 1/60 s through the scheduler. A frame is
// the animation's own at one of its fixed steps (its duration in 1/60 s), drawn once and kept:
// every later switch shows the same images again, so the status area's caches, keyed by
// image, stop growing after the first few switches. Given the document service, a document
// that turns the animation off brings the glyph back to rest. Main thread only.
class MenuBarIconAnimator {
public:
    using Widths = std::vector<double>;
    using FrameFunction = std::function<Widths(double progress)>;

    static const Widths restWidths; // 126, 44, 28
    static const Widths restRadii;  // 16, 14, 13
    static constexpr double nudgeDuration = 1.15;
    static constexpr double mirrorDuration = 0.52;

    explicit MenuBarIconAnimator(Scheduler &scheduler, DocumentService *documents = nullptr);
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
    // Images drawn and kept so far.
    std::size_t keptFrameCount() const { return m_frames.size(); }

    // The frame maths, each a function of progress 0...1.
    static FrameFunction nudgeFrame(const Widths &rest);
    static FrameFunction mirrorFrame(const Widths &rest);
    static Widths radii(const Widths &widths);
    static Widths sample(const std::vector<Widths> &keyframes, double progress);

private:
    // What a kept image shows: the step of one animation played from one rest (the rest
    // itself has style none), in one tint.
    struct FrameKey {
        int style = 0;
        Widths rest;
        int step = 0;
        QRgb tint = 0;
        auto operator<=>(const FrameKey &) const = default;
    };

    void play(MenuBarAnimation style, double duration, FrameFunction frame);
    void stopTimer();
    // The kept image for the key, drawn from the widths the first time.
    const QImage &frameImage(const FrameKey &key, const Widths &widths, const Widths &radii);
    QImage restImage();

    Scheduler &m_scheduler;
    std::weak_ptr<StatusItem> m_item;
    std::optional<Scheduler::Token> m_timer;
    Widths m_restingWidths = restWidths;
    Widths m_restingRadii = restRadii;
    double m_frameInterval = 1.0 / 60.0;
    std::map<FrameKey, QImage> m_frames;
    QObject m_listening;
};

} // namespace quorvane
