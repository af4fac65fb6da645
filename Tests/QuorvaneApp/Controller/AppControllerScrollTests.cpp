#include "Controller/ControllerHarness.h"

using namespace quorvane;

namespace {

struct Scrolling : test::ControllerHarness {
    static StatusItem::Wheel notch(double dy) { return {dy, false, false, {}}; }
    static StatusItem::Wheel pixels(double dy, bool momentum = false) { return {dy, true, momentum, {}}; }

    std::vector<std::pair<QString, QStringList>> desktops(int count)
    {
        std::vector<std::pair<QString, QStringList>> result;
        for (int i = 0; i < count; ++i)
            result.push_back({QString(QChar(u'A' + i)), {QStringLiteral("f%1").arg(i)}});
        return result;
    }
    void setActive(const QString &name)
    {
        Config config = load();
        config.activeWorkspace = name;
        save(config);
    }
};

} // namespace

TEST_F(Scrolling, PreciseScrollingStepsEveryNinetyPointsAndSwitchesAfterThePause)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    AppController controller(environment());
    controller.completeLaunch();
    status->wheel(pixels(-200));
    // Two steps forward: to B, then held at the end of a short ring.
    EXPECT_EQ(controller.scrollGesture().index, 1);
    EXPECT_DOUBLE_EQ(controller.scrollGesture().accum, -20);
    EXPECT_EQ(controller.scrollHUD().labels().current, "B");
    EXPECT_TRUE(controller.scrollHUD().panel()->isVisible());
    scheduler.advance(0.39);
    EXPECT_EQ(load().activeWorkspace, "A");
    // Momentum after the fingers lift neither steps nor postpones the commit.
    status->wheel(pixels(-500, true));
    EXPECT_EQ(controller.scrollGesture().index, 1);
    scheduler.advance(0.02);
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_FALSE(controller.scrollGesture().scrolling);
    EXPECT_EQ(controller.scrollGesture().index, std::nullopt);
    EXPECT_EQ(controller.scrollGesture().accum, 0);
    scheduler.advance(0.3);
    EXPECT_FALSE(controller.scrollHUD().panel()->isVisible());
}

TEST_F(Scrolling, FiveDesktopsWrapThreeStopAtTheEnds)
{
    layOut(desktops(5));
    setActive("C");
    AppController controller(environment());
    controller.completeLaunch();
    status->wheel(notch(1));
    EXPECT_EQ(controller.scrollHUD().labels().current, "B");
    for (int i = 0; i < 4; ++i)
        status->wheel(notch(3)); // one step per event, whatever the size
    EXPECT_EQ(controller.scrollGesture().index, 2);
    EXPECT_EQ(controller.scrollHUD().labels(), (ScrollCycleHUD::Labels{"B", "C", "D"}));
    scheduler.advance(0.5);
    EXPECT_EQ(load().activeWorkspace, "C"); // back where it started: no switch
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Scrolling, AShortRingIsClampedWithoutASlide)
{
    layOut(desktops(3));
    AppController controller(environment());
    controller.completeLaunch();
    status->wheel(notch(1)); // before the first: stays on A
    EXPECT_EQ(controller.scrollGesture().index, 0);
    EXPECT_EQ(controller.scrollHUD().slideOffset(), 0);
    EXPECT_EQ(controller.scrollHUD().labels(), (ScrollCycleHUD::Labels{"", "A", "B"}));
    scheduler.advance(0.5);
    EXPECT_EQ(load().activeWorkspace, "A");
}

TEST_F(Scrolling, FromTheBlankDesktopTheFirstStepPicksAnEnd)
{
    layOut(desktops(2));
    setActive(Config::blankWorkspaceName);
    AppController controller(environment());
    controller.completeLaunch();
    status->wheel(pixels(60)); // less than a step: nothing selected
    scheduler.advance(0.5);
    EXPECT_EQ(load().activeWorkspace, Config::blankWorkspaceName);
    status->wheel(notch(1)); // a step back selects the last desktop
    EXPECT_EQ(controller.scrollGesture().index, 1);
    scheduler.advance(0.5);
    EXPECT_EQ(load().activeWorkspace, "B");

    setActive(Config::blankWorkspaceName);
    status->wheel(notch(-1)); // a step forward, the first
    EXPECT_EQ(controller.scrollGesture().index, 0);
}

TEST_F(Scrolling, ATemporaryDesktopIsInTheRingAnArchivedOneNeverBecomesActive)
{
    layOut(desktops(3));
    Config config = load();
    config.workspaces[1].type = WorkspaceType::temporary;
    save(config);
    AppController controller(environment());
    controller.completeLaunch();
    status->wheel(notch(-1));
    EXPECT_EQ(controller.scrollHUD().labels().current, "B");

    // The desktop goes to the archive before the commit: nothing is switched to it.
    config = load();
    config.workspaces[1].state = WorkspaceState::archivedUnsorted;
    save(config);
    scheduler.advance(0.5);
    EXPECT_EQ(load().activeWorkspace, "A");
    EXPECT_EQ(entries(desktop()), QStringList{"f0"});
    EXPECT_FALSE(controller.scrollGesture().scrolling);
}

TEST_F(Scrolling, TurnedOffTheWheelDoesNothing)
{
    layOut(desktops(2));
    Config config = load();
    config.settings.scrollToCycle = false;
    save(config);
    AppController controller(environment());
    controller.completeLaunch();
    status->wheel(notch(-1));
    EXPECT_FALSE(controller.scrollGesture().scrolling);
    EXPECT_EQ(controller.scrollHUD().panel(), nullptr);
}
