#include "Dock/FloatingDock.h"
#include "FakeSpaceIdentifier.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(FloatingDock, AxisChangeClearsTileFramesAndAsksForReplacement)
{
    FloatingDock dock;
    dock.model.tileFrames = {QRectF(0, 0, 10, 10)};
    dock.setAxis(FloatingDockAxis::horizontal); // unchanged: nothing happens
    EXPECT_EQ(dock.model.tileFrames.size(), 1u);
    EXPECT_FALSE(dock.needsReplacement());
    dock.setAxis(FloatingDockAxis::vertical);
    EXPECT_EQ(dock.model.axis, FloatingDockAxis::vertical);
    EXPECT_TRUE(dock.model.tileFrames.empty());
    EXPECT_TRUE(dock.needsReplacement());
}

TEST(FloatingDock, ParkedElsewhereWhenTheActiveSpaceLeftItsHome)
{
    test::FakeSpaceIdentifier spaces;
    spaces.moveTo("one");
    FloatingDock dock(spaces);
    EXPECT_FALSE(dock.isParkedElsewhere());

    const std::vector<DockSurface> tiles{{"Work", "#FF0000", "/d/Work", true}};
    dock.show(tiles, "#C79A5B", std::nullopt);
    EXPECT_TRUE(dock.wantsVisible);
    EXPECT_EQ(dock.model.surfaces, tiles);
    EXPECT_FALSE(dock.isParkedElsewhere());
    spaces.moveTo("two");
    EXPECT_TRUE(dock.isParkedElsewhere());
    spaces.active.reset(); // cannot tell
    EXPECT_FALSE(dock.isParkedElsewhere());
    spaces.moveTo("two");
    dock.wantsVisible = false;
    EXPECT_FALSE(dock.isParkedElsewhere());

    dock.wantsVisible = true;
    dock.reload({}, "#000000"); // no panel yet: nothing is refreshed
    EXPECT_EQ(dock.model.surfaces, tiles);
}
