#include "CornerSummon.h"

#include <gtest/gtest.h>

using namespace quorvane;
using Outcome = CornerTrigger::Outcome;

TEST(CornerHitTest, SquaresSitInTheChosenCornerAndIncludeTheirEdges)
{
    const QRectF frame(0, 0, 1440, 900);
    EXPECT_FALSE(CornerHitTest::rect(FloatingDockCorner::off, frame));
    EXPECT_EQ(CornerHitTest::rect(FloatingDockCorner::topRight, frame), QRectF(1436, 896, 4, 4));
    EXPECT_EQ(CornerHitTest::rect(FloatingDockCorner::topLeft, frame), QRectF(0, 896, 4, 4));
    EXPECT_EQ(CornerHitTest::rect(FloatingDockCorner::bottomLeft, frame), QRectF(0, 0, 4, 4));
    EXPECT_EQ(CornerHitTest::rect(FloatingDockCorner::bottomRight, QRectF(-1280, -100, 1280, 1024)),
              QRectF(-4, -100, 4, 4));

    const QRectF square = *CornerHitTest::rect(FloatingDockCorner::topRight, frame);
    EXPECT_TRUE(CornerHitTest::contains(QPointF(1440, 900), square));
    EXPECT_TRUE(CornerHitTest::contains(QPointF(1436, 896), square));
    EXPECT_FALSE(CornerHitTest::contains(QPointF(1435.9, 900), square));
    EXPECT_FALSE(CornerHitTest::isInside(QPointF(1440, 900), {}));
    EXPECT_TRUE(CornerHitTest::isInside(QPointF(1, 1), {square, QRectF(0, 0, 4, 4)}));
}

TEST(CornerTrigger, FiresOncePerVisit)
{
    CornerTrigger trigger;
    EXPECT_EQ(trigger.pointerMoved(true, false), Outcome::startDwell);
    EXPECT_EQ(trigger.pointerMoved(true, false), Outcome::idle); // already dwelling
    EXPECT_TRUE(trigger.dwellCompleted());
    EXPECT_FALSE(trigger.isArmed);
    EXPECT_EQ(trigger.pointerMoved(true, false), Outcome::idle); // fired: disarmed until it leaves
    EXPECT_FALSE(trigger.dwellCompleted());
    EXPECT_EQ(trigger.pointerMoved(false, false), Outcome::idle);
    EXPECT_TRUE(trigger.isArmed);
    EXPECT_EQ(trigger.pointerMoved(true, false), Outcome::startDwell);
    EXPECT_EQ(trigger.pointerMoved(false, false), Outcome::cancelDwell); // left before the dwell ended
    EXPECT_FALSE(trigger.dwellCompleted());
    trigger.reset();
    EXPECT_EQ(trigger, CornerTrigger());
}

TEST(CornerTrigger, DragsNeverDwell)
{
    CornerTrigger trigger;
    EXPECT_EQ(trigger.pointerMoved(true, true), Outcome::idle); // dragged in
    EXPECT_TRUE(trigger.isInside);
    EXPECT_EQ(trigger.pointerMoved(true, false), Outcome::startDwell); // the drag ended with a move inside
    EXPECT_EQ(trigger.pointerMoved(true, true), Outcome::cancelDwell); // a drag began during the dwell
    EXPECT_FALSE(trigger.dwellCompleted());
    EXPECT_TRUE(trigger.isArmed);
}
