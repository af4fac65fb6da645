#include "Triggers/CornerWatcher.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(CornerWatcher, DwellHasAFloorAndOffLeavesTheSettingsAlone)
{
    CornerWatcher watcher;
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::off);
    EXPECT_EQ(watcher.dwell(), 0.05);
    watcher.start(FloatingDockCorner::topRight, 5);
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::topRight);
    EXPECT_EQ(watcher.dwell(), 0.02);
    watcher.start(FloatingDockCorner::bottomLeft, 300);
    EXPECT_EQ(watcher.dwell(), 0.3);
    watcher.start(FloatingDockCorner::off, 1000);
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::bottomLeft);
    EXPECT_EQ(watcher.dwell(), 0.3);
}
