#include "Overlays/SwitchTransitionOverlay.h"

namespace quorvane {

namespace {

void orderOut(std::vector<std::unique_ptr<QWidget>> &list)
{
    for (const auto &window : list)
        window->hide();
    list.clear();
}

} // namespace

void SwitchTransitionOverlay::cover(SwitchTransition style, SwitchBlurStyle, float, double)
{
    if (style == SwitchTransition::none)
        return;
    orderOut(windows);
    // The blur windows themselves are not built yet: the switch runs uncovered.
}

void SwitchTransitionOverlay::sweep(SwitchBlurStyle, float, double, double, double, double)
{
    // The sweep band's windows are not built yet: the switch runs uncovered.
}

void SwitchTransitionOverlay::reveal(SwitchTransition, double)
{
    if (windows.empty())
        return;
    // Ordered out at once; the fade comes with the cover windows.
    orderOut(windows);
}

} // namespace quorvane
