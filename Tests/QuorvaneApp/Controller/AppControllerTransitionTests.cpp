#include "Controller/ControllerHarness.h"
#include "Wait.h"
#include "Work/HostWork.h"

#include <QThread>
#include <QTimer>

#include <atomic>

using namespace quorvane;

namespace {

struct Transition : test::ControllerHarness {
    void useTransition(SwitchTransition transition, std::int64_t holdMs = 0)
    {
        Config config = load();
        config.settings.switchTransition = transition;
        config.settings.switchRevealHoldMs = holdMs;
        config.settings.switchMinDurationMs = 1000;
        config.settings.switchFadeOutMs = 500;
        save(config);
    }
};

} // namespace

TEST_F(Transition, TheCoverLiftsAtTheLaterOfTheMinimumDurationAndTheHold)
{
    for (const std::int64_t hold : {0, 1500}) {
        layOut({{"A", {"a1"}}, {"B", {"b1"}}});
        useTransition(SwitchTransition::blur, hold);
        AppController controller(environment());
        SwitchTransitionOverlay &overlay = controller.switchOverlay();
        const int readsBefore = iconHost->reads;
        controller.performSwitch("B", true);
        ASSERT_EQ(overlay.windows().size(), 2u);
        // Positions travel with the files: one read of the leaving items' entries, no poll.
        EXPECT_EQ(iconHost->reads, readsBefore + 1);
        const double lift = hold ? 1.5 : 1.0;
        scheduler.advance(lift - 0.01);
        EXPECT_EQ(overlay.windows().size(), 2u) << hold;
        scheduler.advance(0.02);
        EXPECT_TRUE(overlay.windows().empty()) << hold;
        EXPECT_EQ(iconHost->reads, readsBefore + 1);
        scheduler.advance(0.55);
        EXPECT_EQ(overlay.fadingCount(), 0u);
        controller.performSwitch("A", true); // back, for the next round
        scheduler.advance(3);
    }
}

TEST_F(Transition, SweepAndNoneLeaveNothingToReveal)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    useTransition(SwitchTransition::sweep);
    AppController controller(environment());
    controller.performSwitch("B", true);
    EXPECT_EQ(controller.switchOverlay().sweepWindows().size(), 2u);
    EXPECT_TRUE(controller.switchOverlay().windows().empty());
    scheduler.advance(0.725 + 0.28 + 0.06);
    EXPECT_TRUE(controller.switchOverlay().sweepWindows().empty());

    useTransition(SwitchTransition::none);
    controller.performSwitch("A", true);
    EXPECT_TRUE(controller.switchOverlay().windows().empty());
    EXPECT_TRUE(controller.switchOverlay().sweepWindows().empty());
}

TEST_F(Transition, TheSettlePollReadsThirteenTimesAtMostAndStopsOnceInPlace)
{
    layOut({{"A", {"a1"}}});
    AppController controller(environment());
    SwitchTransitionOverlay &overlay = controller.switchOverlay();
    const IconPositions expected{{"a1", IconPosition{10, 20}}};

    // One point off for the whole time: the first read, twelve more, then the cover goes.
    iconHost->store = {{"a1", IconPosition{10, 21}}};
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 0);
    controller.switching().settlePoll(expected, 0, SwitchTransition::blur, 0, 0, scheduler.now());
    EXPECT_EQ(iconHost->reads, 1);
    scheduler.advance(0.03 * 12 + 0.001);
    EXPECT_EQ(iconHost->reads, 13);
    EXPECT_TRUE(overlay.windows().empty());
    scheduler.advance(1);
    EXPECT_EQ(iconHost->reads, 13);

    // In place at the first check: no poll step, the reveal after the hold.
    iconHost->reads = 0;
    iconHost->store = {{"a1", IconPosition{10, 20}}};
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 0);
    controller.switching().settlePoll(expected, 0, SwitchTransition::blur, 0.2, 0, scheduler.now());
    EXPECT_EQ(iconHost->reads, 1);
    scheduler.advance(0.19);
    EXPECT_EQ(overlay.windows().size(), 2u);
    scheduler.advance(0.02);
    EXPECT_TRUE(overlay.windows().empty());
    EXPECT_EQ(iconHost->reads, 1);

    // Nothing expected is settled at once, without a read; a failing read is unsettled.
    iconHost->reads = 0;
    controller.switching().settlePoll({}, 0, SwitchTransition::blur, 0, 0, scheduler.now());
    EXPECT_EQ(iconHost->reads, 0);
    iconHost->failText = QStringLiteral("no position store");
    controller.switching().settlePoll(expected, 0, SwitchTransition::blur, 0, 0, scheduler.now());
    scheduler.advance(1);
    EXPECT_EQ(iconHost->reads, 13);
}

// The host may take a child process to answer: the poll's read runs away from the event loop,
// which serves its events meanwhile, and the poll goes on from the answer.
TEST_F(Transition, TheSettlePollsReadLeavesTheEventLoopServing)
{
    layOut({{"A", {"a1"}}});
    AppController controller(environment());
    SwitchTransitionOverlay &overlay = controller.switchOverlay();
    std::atomic<int> ticks = 0;
    std::atomic<int> ticksDuringRead = -1;
    iconHost->store = {{"a1", IconPosition{10, 20}}};
    iconHost->duringRead = [&] {
        const int before = ticks;
        QThread::msleep(200);
        ticksDuringRead = ticks - before;
    };
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 0);
    HostWork::setInline(false);
    controller.switching().settlePoll({{"a1", IconPosition{10, 20}}}, 0, SwitchTransition::blur, 0, 0, scheduler.now());
    EXPECT_EQ(ticksDuringRead, -1) << "the read has not answered as the poll's step returns";
    // In place at the first answer: the cover goes, with no further read.
    EXPECT_TRUE(test::waitUntil([&] {
        scheduler.advance(0.001);
        return overlay.windows().empty();
    }));
    HostWork::drain();
    HostWork::setInline(true);
    EXPECT_GE(ticksDuringRead, 3) << "the event loop was served while the host was read";
    EXPECT_EQ(iconHost->reads, 1);
}

TEST_F(Transition, ThePreviewFadesOutAFifthOfASecondAfterItBegan)
{
    layOut({{"A", {"a1"}}});
    useTransition(SwitchTransition::blur);
    AppController controller(environment());
    controller.previewSwitchTransition();
    EXPECT_EQ(controller.switchOverlay().windows().size(), 2u);
    scheduler.advance(0.21);
    EXPECT_EQ(controller.switchOverlay().windows().size(), 2u);
    scheduler.advance(0.02);
    EXPECT_TRUE(controller.switchOverlay().windows().empty());
    EXPECT_EQ(controller.switchOverlay().fadingCount(), 2u);
    EXPECT_EQ(load().activeWorkspace, "A"); // nothing switched
    EXPECT_FALSE(controller.swapInProgress());
}
