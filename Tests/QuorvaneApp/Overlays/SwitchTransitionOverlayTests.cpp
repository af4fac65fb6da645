#include "Overlays/SwitchTransitionOverlay.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(SwitchTransitionOverlay, NoneLeavesTheCoverRevealOrdersItOut)
{
    SwitchTransitionOverlay overlay;
    overlay.windows.push_back(std::make_unique<QWidget>());
    QWidget *held = overlay.windows.back().get();
    held->show();
    overlay.cover(SwitchTransition::none, SwitchBlurStyle::frost, 1, 0.1);
    EXPECT_EQ(overlay.windows.size(), 1u);
    EXPECT_TRUE(held->isVisible());
    overlay.reveal(SwitchTransition::blur, 0.2);
    EXPECT_TRUE(overlay.windows.empty());

    overlay.windows.push_back(std::make_unique<QWidget>());
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 1, 0.1); // drops the old cover
    EXPECT_TRUE(overlay.windows.empty());
}
