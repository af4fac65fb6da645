#include "SettingsViews/DragReorder.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(DragReorder, TheTargetMovesOnlyPastTwoThirdsOfARowAndStaysInTheList)
{
    DragReorder drag(44);
    const QStringList order{"A", "B", "C", "D"};
    drag.start("B", 1);
    drag.move(0.66 * 44, 4); // exactly 0.66 does not move
    EXPECT_EQ(drag.targetIndex(), 1);
    drag.move(0.67 * 44, 4);
    EXPECT_EQ(drag.targetIndex(), 2);
    // Back up: the target returns only once the pointer is 0.66 below it.
    drag.move(44 * (1 - 0.66 + 1 - 1.0) + 44 * 0.34, 4);
    EXPECT_EQ(drag.targetIndex(), 2);
    drag.move(44 * 0.33, 4);
    EXPECT_EQ(drag.targetIndex(), 1);
    drag.move(10 * 44, 4);
    EXPECT_EQ(drag.targetIndex(), 3);
    EXPECT_EQ(drag.gapShift(0), 0);
    EXPECT_EQ(drag.gapShift(1), 0);
    EXPECT_EQ(drag.gapShift(2), -44);
    EXPECT_EQ(drag.gapShift(3), -44);
    EXPECT_EQ(drag.finish(order), QStringList({"A", "C", "D", "B"}));
    EXPECT_FALSE(drag.active());
    EXPECT_EQ(drag.gapShift(2), 0);

    drag.start("A", 0);
    drag.move(-5 * 44, 4);
    EXPECT_EQ(drag.targetIndex(), 0);
    EXPECT_EQ(drag.finish(order), order); // ending in place gives the same order

    drag.start("D", 3);
    drag.move(-2.5 * 44, 4);
    EXPECT_EQ(drag.targetIndex(), 1);
    EXPECT_EQ(drag.gapShift(1), 44);
    EXPECT_EQ(drag.gapShift(2), 44);
    EXPECT_EQ(drag.gapShift(3), 0);
    EXPECT_EQ(drag.gapShift(0), 0);
    EXPECT_EQ(drag.finish(order), QStringList({"A", "D", "B", "C"}));
}
