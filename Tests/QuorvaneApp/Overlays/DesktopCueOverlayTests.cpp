#include "Overlays/DesktopCueOverlay.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(DesktopCueOverlay, RecordsWhatEachRelayoutApplied)
{
    DesktopCueOverlay overlay;
    EXPECT_FALSE(overlay.applied());
    overlay.relayout();
    ASSERT_TRUE(overlay.applied());
    EXPECT_FALSE(overlay.applied()->cue);
    EXPECT_FALSE(overlay.applied()->screenFrames.isEmpty());

    const DesktopCue cue(true, DesktopCue::Fill::color("#336699"), 0.5, false, true);
    overlay.current = cue;
    overlay.hideStripInFullScreen = true;
    overlay.relayout();
    EXPECT_EQ(overlay.applied()->cue, cue);
    EXPECT_TRUE(overlay.applied()->hideStripInFullScreen);

    overlay.current->opacity = 0.9;
    overlay.relayout();
    EXPECT_EQ(overlay.applied()->cue->opacity, 0.9);

    overlay.current.reset();
    overlay.relayout();
    EXPECT_FALSE(overlay.applied()->cue);

    QWidget strip;
    strip.show();
    overlay.rebuildStrips(std::vector<QWidget *>{&strip});
    EXPECT_FALSE(strip.isVisible());
}
