#include "Controller/ControllerHarness.h"
#include "Controller/RequestGate.h"
#include "Controller/SwitchWorker.h"
#include "Controller/WorkerHarness.h"
#include "Fakes/FakeLoginItem.h"
#include "Fakes/RecordingDesktopServices.h"
#include "Wait.h"

#include <QDirIterator>

using namespace quorvane;

namespace {

// The requests a user makes while a switch's files move on the worker: the files are held
// mid-move until the test opens the host's gate.
struct RequestsDuringASwitch : test::WorkerHarness {
    test::FakeLoginItem loginItem;
    test::RecordingDesktopServices fileManager;

    AppEnvironment threadedEnvironment()
    {
        AppEnvironment env = environment();
        env.loginItem = &loginItem;
        env.desktop = &fileManager;
        return env;
    }
    bool settled(AppController &controller) { return !controller.swapInProgress() && controller.requests().waiting() == 0; }
    // Every regular file under a folder, however deep.
    static int filesUnder(const QString &folder)
    {
        int count = 0;
        for (QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext(); it.next())
            ++count;
        return count;
    }
};

} // namespace

// Each press is a step from where the switch before it left the user, taken in the order made:
// "next" twice from A ends on C, and "last desktop" then goes back to the one the second switch
// left, not to what was last before any of them began.
TEST_F(RequestsDuringASwitch, IntentsWaitTheirTurnAndAreResolvedWhenTaken)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}, {"D", {"d1"}}});
    AppController controller(threadedEnvironment());
    controller.completeLaunch();

    controller.cycle(1);
    ASSERT_TRUE(test::waitUntil([&] { return gate->waiting(); }));
    EXPECT_EQ(controller.sessionState().pending(), QString("B"));
    controller.cycle(1);
    controller.switchToLastDesktop();
    controller.sweepActiveDesktopNow();
    controller.sweepActiveDesktopNow(); // the same request, waiting once
    EXPECT_EQ(controller.requests().waiting(), 3);
    EXPECT_TRUE(controller.isBusy());
    EXPECT_EQ(load().activeWorkspace, "A");

    gate->open();
    ASSERT_TRUE(test::waitUntil([&] { return settled(controller); }, 20000));
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(controller.lastDesktop(), QString("C"));
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_EQ(entries(root() + "/A"), QStringList{"a1"});
    EXPECT_EQ(entries(root() + "/C"), QStringList{"c1"});
    EXPECT_FALSE(controller.isBusy());
}

// An uninstall confirmed while the files of a switch move waits for them to arrive, then brings
// every item back; nothing is taken after it. A desktop archived while a request for it waited
// is not switched to.
TEST_F(RequestsDuringASwitch, AnUninstallConfirmedMidSwitchWaitsAndBringsEveryItemBack)
{
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QStringLiteral("b%1").arg(i);
    layOut({{"A", {"a1", "a2"}}, {"B", many}, {"C", {"c1"}}});
    AppController controller(threadedEnvironment());
    controller.completeLaunch();

    controller.performSwitch("B", true);
    ASSERT_TRUE(test::waitUntil([&] { return gate->waiting(); }));
    alerts.answers = {0}; // "Bring My Desktops Back & Uninstall"
    controller.quitAndUninstall().uninstallRequested();
    controller.performSwitch("C", true); // asked after the uninstall: never taken
    EXPECT_EQ(terminations, 0);
    EXPECT_EQ(controller.requests().waiting(), 2);

    gate->open();
    ASSERT_TRUE(test::waitUntil([&] { return terminations == 1; }, 20000));
    EXPECT_TRUE(controller.requests().closed());
    EXPECT_EQ(controller.requests().waiting(), 0);
    // B's items lie on the Desktop; A and C come back as folders; nothing stays behind.
    EXPECT_EQ(filesUnder(desktop()), 303);
    EXPECT_EQ(filesUnder(desktop() + "/A"), 2);
    EXPECT_EQ(filesUnder(desktop() + "/C"), 1);
    EXPECT_EQ(filesUnder(root()), 0);
    EXPECT_EQ(alerts.shown.size(), 1u); // no "not everything" alert
}

TEST_F(RequestsDuringASwitch, ADesktopArchivedWhileItsRequestWaitedIsNotSwitchedTo)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    AppController controller(threadedEnvironment());
    controller.completeLaunch();

    controller.performSwitch("B", true);
    ASSERT_TRUE(test::waitUntil([&] { return gate->waiting(); }));
    controller.performSwitch("C", true);
    controller.store().mutateConfig([](Config &config) {
        config.updateWorkspace("C", [](Workspace &workspace) { workspace.state = WorkspaceState::archivedUnsorted; });
    });
    gate->open();
    ASSERT_TRUE(test::waitUntil([&] { return settled(controller); }, 20000));
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(entries(root() + "/C"), QStringList{"c1"});
}

// The gate alone: a request made while another runs (from inside an alert's loop) follows it,
// and a closed gate takes nothing more.
TEST(RequestGate, ARequestMadeWhileAnotherRunsFollowsItAndAClosedGateTakesNothing)
{
    test::TempHome home;
    SessionState state(home.filePath("lock"));
    RequestGate gate(state);
    QStringList ran;
    EXPECT_EQ(gate.submit({"first",
                           [&] {
                               ran << "first";
                               EXPECT_EQ(gate.submit({"second", [&] { ran << "second"; }}), RequestGate::Taken::waiting);
                               EXPECT_EQ(ran, QStringList{"first"});
                           }}),
              RequestGate::Taken::now);
    EXPECT_EQ(ran, (QStringList{"first", "second"}));

    state.beginSwitch("B");
    EXPECT_EQ(gate.submit({"third", [&] { ran << "third"; }}), RequestGate::Taken::waiting);
    gate.close();
    state.endSwitch(QString("A"));
    EXPECT_EQ(gate.submit({"fourth", [&] { ran << "fourth"; }}), RequestGate::Taken::closed);
    EXPECT_EQ(ran, (QStringList{"first", "second"}));
    EXPECT_EQ(state.previous(), QString("A"));
}
