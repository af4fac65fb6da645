#include "FakePointerSource.h"
#include "ManualScheduler.h"
#include "Triggers/CornerWatcher.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// One 1440 × 900 screen; pointer positions are Qt's (y down).
struct CornerWatcherTest : ::testing::Test {
    test::ManualScheduler clock;
    test::FakePointerSource pointer;
    ScreenLayout layout{{QRectF(0, 0, 1440, 900)}, 900};
    CornerWatcher watcher{clock, pointer, [this] { return layout; }};
    int fired = 0;

    void SetUp() override
    {
        watcher.onTrigger = [this] { ++fired; };
        pointer.moveTo(700, 400);
    }
    // One poll with the pointer at (x, y).
    void at(double x, double y, bool held = false)
    {
        pointer.moveTo(x, y, held);
        clock.advance(CornerWatcher::pollInterval);
    }
};

} // namespace

TEST_F(CornerWatcherTest, DwellHasAFloorAndOffStopsThePoll)
{
    EXPECT_EQ(watcher.dwell(), 0.05);
    EXPECT_FALSE(watcher.isPolling());
    watcher.start(FloatingDockCorner::bottomLeft, 0);
    EXPECT_EQ(watcher.dwell(), 0.02);
    watcher.start(FloatingDockCorner::bottomLeft, 350);
    EXPECT_EQ(watcher.dwell(), 0.35);
    EXPECT_TRUE(watcher.isPolling());
    EXPECT_EQ(clock.pendingCount(), 1u);

    watcher.start(FloatingDockCorner::off, 350);
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::off);
    EXPECT_FALSE(watcher.isPolling());
    EXPECT_EQ(clock.pendingCount(), 0u);
    at(0, 900);
    at(1, 899);
    clock.advance(1);
    EXPECT_EQ(fired, 0);
}

TEST_F(CornerWatcherTest, RestingFiresOnceAfterTheDwellAndAgainOnlyAfterLeaving)
{
    watcher.start(FloatingDockCorner::topRight, 350);
    clock.advance(CornerWatcher::pollInterval); // the first look only notes where the pointer is
    at(1439, 0);
    clock.advance(0.3);
    EXPECT_EQ(fired, 0);
    clock.advance(0.06);
    EXPECT_EQ(fired, 1);
    at(1438, 1); // moving inside the corner
    clock.advance(1);
    EXPECT_EQ(fired, 1);
    at(700, 400);
    at(1440, 0);
    clock.advance(0.4);
    EXPECT_EQ(fired, 2);
}

TEST_F(CornerWatcherTest, LeavingDraggingOrStillnessStartsNoDwell)
{
    watcher.start(FloatingDockCorner::bottomLeft, 300);
    clock.advance(CornerWatcher::pollInterval);
    at(0, 899);
    clock.advance(0.1);
    at(600, 300); // left before the dwell ended
    clock.advance(1);
    EXPECT_EQ(fired, 0);

    at(1, 898, true); // dragged in
    clock.advance(1);
    at(1, 898, false); // released without moving: no movement
    clock.advance(1);
    EXPECT_EQ(fired, 0);
    at(0, 899); // then a plain move inside
    clock.advance(0.3);
    EXPECT_EQ(fired, 1);
}

TEST_F(CornerWatcherTest, EveryScreenIsHotAndAScreenChangeCancelsTheDwell)
{
    // A second screen to the left of the primary one, taller and lower (negative origin).
    layout.frames.push_back(QRectF(-1280, -124, 1280, 1024));
    watcher.start(FloatingDockCorner::bottomLeft, 200);
    ASSERT_EQ(watcher.hotRects().size(), 2u);
    EXPECT_EQ(watcher.hotRects()[1], QRectF(-1280, -124, 4, 4));
    clock.advance(CornerWatcher::pollInterval);
    at(-1280, 1024); // the second screen's bottom-left pixel in Qt coordinates
    clock.advance(0.2);
    EXPECT_EQ(fired, 1);

    at(500, 500);
    at(0, 900);
    watcher.screensChanged(); // a display was rearranged during the dwell
    EXPECT_FALSE(watcher.trigger().isDwelling);
    clock.advance(1);
    EXPECT_EQ(fired, 1);
    at(1, 899); // the next movement into the square starts afresh
    clock.advance(0.2);
    EXPECT_EQ(fired, 2);
}

TEST_F(CornerWatcherTest, AnUnreadablePointerSeesNothing)
{
    pointer.state.reset();
    watcher.start(FloatingDockCorner::bottomLeft, 0);
    clock.advance(1);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(watcher.trigger(), CornerTrigger());
}

TEST_F(CornerWatcherTest, APointerAtRestIsPolledSlowerUntilItMoves)
{
    watcher.start(FloatingDockCorner::bottomLeft, 300);
    clock.advance(0.9);
    EXPECT_FALSE(watcher.isResting());
    clock.advance(0.2); // a second without movement
    ASSERT_TRUE(watcher.isResting());
    const int readsBefore = pointer.reads;
    clock.advance(2);
    EXPECT_EQ(pointer.reads - readsBefore, 10);

    pointer.moveTo(0, 899); // straight into the corner from rest
    clock.advance(CornerWatcher::restingPollInterval);
    EXPECT_FALSE(watcher.isResting());
    EXPECT_TRUE(watcher.trigger().isDwelling);
    clock.advance(0.3);
    EXPECT_EQ(fired, 1);

    clock.advance(5); // resting inside the corner keeps the fast poll, so leaving is seen at once
    EXPECT_FALSE(watcher.isResting());
    at(600, 300);
    EXPECT_FALSE(watcher.trigger().isInside);
}

TEST_F(CornerWatcherTest, ANotifyingPointerIsWatchedWithoutATimer)
{
    pointer.notifies = true;
    pointer.moveTo(0, 899); // already in the corner when watching starts: only noted
    watcher.start(FloatingDockCorner::bottomLeft, 300);
    EXPECT_TRUE(watcher.isNotified());
    EXPECT_FALSE(watcher.isPolling());
    EXPECT_EQ(clock.pendingCount(), 0u);
    pointer.moveTo(700, 400);
    const int reads = pointer.reads;
    clock.advance(30); // at rest nothing runs and nobody reads the pointer
    EXPECT_EQ(pointer.reads, reads);
    EXPECT_EQ(fired, 0);

    pointer.moveTo(0, 899); // the dwell starts on arrival, before any time passes
    EXPECT_TRUE(watcher.trigger().isDwelling);
    clock.advance(0.3);
    EXPECT_EQ(fired, 1);
    pointer.moveTo(600, 300);
    EXPECT_FALSE(watcher.trigger().isInside);

    watcher.stop();
    EXPECT_FALSE(pointer.onChange);
    pointer.moveTo(0, 899);
    clock.advance(1);
    EXPECT_EQ(fired, 1);
}
