#include "Controller/ControllerHarness.h"
#include "Journal.h"

#include <QRegularExpression>

using namespace quorvane;

namespace {

struct DockWiring : test::ControllerHarness {
    QList<QUrl> onDesktop(const QStringList &names) const
    {
        QList<QUrl> urls;
        for (const QString &name : names)
            urls.append(QUrl::fromLocalFile(desktop() + '/' + name));
        return urls;
    }
    std::vector<QString> tileNames(AppController &controller) const
    {
        std::vector<QString> names;
        for (const DockSurface &surface : controller.floatingDock().model().surfaces())
            names.push_back(surface.name);
        return names;
    }
    void pendingJournal() { store().saveJournal(Journal{"A", "B", {"a1"}, {"b1"}}); }
};

} // namespace

TEST_F(DockWiring, ADropMovesOnlyUnpinnedDesktopItemsThatDoNotClash)
{
    Config config = layOut({{"A", {"keep", "clash", "report.txt", ".secret"}}, {"B", {"clash"}}});
    config.settings.pinnedFolders = {"keep"};
    save(config);
    touch(desktop() + "/folder", {"inner"});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    controller.floatingDock().onDrop(onDesktop({"keep", "clash", "report.txt", ".secret"}) + onDesktop({"folder/inner"}),
                                     "B");

    EXPECT_EQ(entries(desktop()), (QStringList{"clash", "folder", "keep"}));
    EXPECT_EQ(entries(root() + "/B"), (QStringList{"clash", "report.txt"}));
    EXPECT_TRUE(QFile::exists(desktop() + "/.secret")); // hidden names stay on the Desktop
    const Config after = load();
    EXPECT_EQ(after.workspace("B")->files, (QStringList{"clash", "report.txt"}));
    EXPECT_EQ(after.workspace("A")->files, (QStringList{"keep", "clash", ".secret"}));
    EXPECT_EQ(after.activeWorkspace, "A");
    EXPECT_TRUE(alerts.shown.empty());

    // Onto the active desktop's tile: nothing moves.
    controller.floatingDock().onDrop(onDesktop({"keep"}), "A");
    EXPECT_TRUE(QFile::exists(desktop() + "/keep"));
}

TEST_F(DockWiring, ASwitchOrAJournalBlocksDropsAndTheCorner)
{
    Config config = layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {}}});
    config.settings.floatingDockCorner = FloatingDockCorner::bottomLeft;
    save(config);
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    pendingJournal();
    controller.floatingDock().onDrop(onDesktop({"a1"}), "B");
    controller.dock().cornerTriggered();
    EXPECT_TRUE(QFile::exists(desktop() + "/a1"));
    EXPECT_FALSE(controller.floatingDock().wantsVisible());

    QFile::remove(paths().journal());
    switchRunning(controller, "C", [&] {
        controller.floatingDock().onDrop(onDesktop({"a1"}), "B");
        EXPECT_TRUE(QFile::exists(desktop() + "/a1"));
    });
    controller.performSwitch("A", true);
    ASSERT_TRUE(QFile::exists(desktop() + "/a1"));

    // A journal that cannot be read counts as none.
    test::writeFile(paths().journal(), "{not json");
    controller.dock().cornerTriggered();
    EXPECT_TRUE(controller.floatingDock().wantsVisible());
    controller.floatingDock().onDrop(onDesktop({"a1"}), "B");
    EXPECT_TRUE(QFile::exists(root() + "/B/a1"));
}

TEST_F(DockWiring, AReadOnlySessionMovesNothing)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    // A document from a newer version, which this one cannot save.
    QByteArray bytes = configBytes();
    bytes.replace("\"schemaVersion\":1", "\"schemaVersion\":2");
    test::writeFile(paths().config(), bytes);
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    ASSERT_TRUE(controller.readOnly());
    controller.floatingDock().onDrop(onDesktop({"a1"}), "B");
    EXPECT_TRUE(QFile::exists(desktop() + "/a1"));
    EXPECT_FALSE(QFile::exists(root() + "/B/a1"));
}

TEST_F(DockWiring, ADesktopArchivedWhileTheDockIsOpenOnlyReloadsTheDock)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"T", {"t1"}}});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    controller.dock().toggle();
    ASSERT_TRUE(controller.floatingDock().wantsVisible());
    EXPECT_EQ(tileNames(controller), (std::vector<QString>{"A", "B", "T"}));

    // The timers archive T behind the open dock.
    Config config = load();
    config.workspace("T")->state = WorkspaceState::archivedUnsorted;
    save(config);
    controller.floatingDock().onDrop(onDesktop({"a1"}), "T");
    EXPECT_TRUE(QFile::exists(desktop() + "/a1"));
    EXPECT_EQ(tileNames(controller), (std::vector<QString>{"A", "B"}));

    config.workspace("B")->state = WorkspaceState::archivedUnsorted;
    save(config);
    controller.floatingDock().onSwitch("B");
    EXPECT_EQ(load().activeWorkspace, "A");
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});
    EXPECT_EQ(tileNames(controller), std::vector<QString>{"A"});
}

TEST_F(DockWiring, MovesAreRememberedOnlyWhenAsked)
{
    layOut({{"A", {}}});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    const QByteArray before = configBytes();
    controller.floatingDock().onMove({0.25, 0.75});
    EXPECT_EQ(configBytes(), before);

    Config config = load();
    config.settings.floatingDockRememberPosition = true;
    save(config);
    controller.floatingDock().onMove({0.25, 0.75});
    EXPECT_EQ(load().settings.floatingDockPosition, (FloatingDockPosition{0.25, 0.75}));
}

TEST_F(DockWiring, TheToggleBringsADockParkedElsewhereHere)
{
    Config config = layOut({{"A", {}}, {"B", {}}});
    config.settings.floatingDockFastTransition = false;
    config.settings.floatingDockShowFlipButtons = false;
    save(config);
    spaces.desktops(4, 0);
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    FloatingDock &dock = controller.floatingDock();
    controller.dock().toggle();
    EXPECT_TRUE(dock.wantsVisible());
    EXPECT_EQ(dock.flipDuration(), 0.45);
    EXPECT_FALSE(dock.model().showFlipButtons());
    // The accent follows the session's as "#" and six upper-case digits when none is stored.
    EXPECT_TRUE(QRegularExpression("^#[0-9A-F]{6}$").match(dock.model().accentHex()).hasMatch());

    spaces.desktops(4, 2);
    ASSERT_TRUE(dock.isParkedElsewhere());
    controller.dock().toggle();
    EXPECT_TRUE(dock.wantsVisible());
    EXPECT_EQ(dock.homeSpaceIdentity(), "ewmh-desktop-2");
    controller.dock().toggle();
    EXPECT_FALSE(dock.wantsVisible());
    EXPECT_FALSE(dock.panel()->isVisible());
}

TEST_F(DockWiring, TheCornerHidesEverywhereButShowsOnlyOnUserSpaces)
{
    layOut({{"A", {}}});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    spaces.moveTo("full", false);
    controller.dock().cornerTriggered();
    EXPECT_FALSE(controller.floatingDock().wantsVisible());
    spaces.moveTo("ewmh-desktop-0");
    controller.dock().cornerTriggered();
    EXPECT_TRUE(controller.floatingDock().wantsVisible());
    spaces.moveTo("ewmh-desktop-0", false);
    controller.dock().cornerTriggered();
    EXPECT_FALSE(controller.floatingDock().wantsVisible());
}

TEST_F(DockWiring, ASettledSpaceSwitchesToItsDesktop)
{
    Config config = layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {}}});
    config.settings.followSpaces = true;
    config.workspace("B")->spaceUUID = "ewmh-desktop-1";
    config.settings.shownFirstSwitchNote = true;
    save(config);
    AppController controller(environment());
    EXPECT_EQ(controller.handleSpaceSettled("ewmh-desktop-3"), SpaceFollowResult::done);
    // Settled while a switch runs: followed once it has ended, after the switch to C.
    config = load();
    config.settings.switchTransition = SwitchTransition::blur;
    save(config);
    midSwitch = [&] {
        EXPECT_EQ(controller.handleSpaceSettled("ewmh-desktop-1"), SpaceFollowResult::switched);
        EXPECT_EQ(controller.requests().waiting(), 1);
    };
    controller.performSwitch("C", true);
    EXPECT_FALSE(midSwitch) << "no cover showed";
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(controller.lastDesktop(), QString("C"));
    controller.performSwitch("A", true);
    pendingJournal();
    EXPECT_EQ(controller.handleSpaceSettled("ewmh-desktop-1"), SpaceFollowResult::done);
    QFile::remove(paths().journal());
    EXPECT_EQ(controller.handleSpaceSettled("ewmh-desktop-1"), SpaceFollowResult::switched);
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_EQ(controller.handleSpaceSettled("ewmh-desktop-1"), SpaceFollowResult::done);

    config = load();
    config.settings.followSpaces = false;
    config.workspace("A")->spaceUUID = "ewmh-desktop-0";
    save(config);
    EXPECT_EQ(controller.handleSpaceSettled("ewmh-desktop-0"), SpaceFollowResult::done);
}

TEST_F(DockWiring, FollowingRunsFromTheWorkspaceNotification)
{
    Config config = layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    config.settings.followSpaces = true;
    config.settings.shownFirstSwitchNote = true;
    config.workspace("B")->spaceUUID = "ewmh-desktop-1";
    save(config);
    spaces.desktops(4, 0);
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    ASSERT_TRUE(controller.spaceFollower().isStarted());
    spaces.desktops(4, 1);
    sessionEvents.changeWorkspace();
    scheduler.advance(0.7);
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
}
