#pragma once

#include "SwitchEffectTypes.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace quorvane {

// The windows that cover the screens during a switch.
class SwitchTransitionOverlay {
public:
    std::vector<std::unique_ptr<QWidget>> windows;      // cover windows
    std::vector<std::unique_ptr<QWidget>> sweepWindows; // removed by the sweep itself

    // With style none does nothing; otherwise drops the cover still held and covers every screen.
    void cover(SwitchTransition style, SwitchBlurStyle blurStyle, float peakOpacity, double fadeIn);
    void sweep(SwitchBlurStyle blurStyle, float peakOpacity, double bandFraction, double duration,
               double startDelay, double angle);
    // Lifts the cover; nothing when none is held.
    void reveal(SwitchTransition style, double fadeOut);
};

} // namespace quorvane
