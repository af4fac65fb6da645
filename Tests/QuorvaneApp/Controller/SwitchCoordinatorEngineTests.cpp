#include "Controller/ControllerHarness.h"
#include "Controller/SwitchWorker.h"
#include "Controller/WorkerHarness.h"
#include "Desktop/DesktopWatcher.h"
#include "Settings/SettingsModel.h"
#include "Wait.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QTimer>

using namespace quorvane;

namespace {

struct SwitchOnWorker : test::WorkerHarness {};

} // namespace

// While the files move the event loop serves a queued event; a switch asked for meanwhile waits
// for the one under way, and a settings write made meanwhile lands on the engine's document.
TEST_F(SwitchOnWorker, TheEventLoopIsServedWhileTheFilesMoveAndWhatArrivesMeanwhileIsHeld)
{
    layOut({{"A", {"a1", "a2"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    AppController controller(environment());
    SettingsModel &model = controller.ensureSettingsModel();

    std::vector<QString> order;
    QTimer::singleShot(0, &controller, [&] {
        order.push_back(controller.switching().filesMoving() ? u"served while moving"_qs : u"served after"_qs);
        controller.performSwitch("C", true);
        EXPECT_EQ(controller.requests().waiting(), 1);
        model.setScrollToCycle(false);
        controller.store().mutateConfig([](Config &config) {
            config.updateWorkspace("B", [](Workspace &workspace) { workspace.colorHex = "#123456"; });
        });
        // Read back from the held document while the engine owns the file.
        EXPECT_FALSE(controller.store().loadConfig().settings.scrollToCycle);
        EXPECT_TRUE(load().settings.scrollToCycle);
        gate->open();
    });
    controller.performSwitch("B", true);
    order.push_back(u"perform returned"_qs);
    EXPECT_TRUE(controller.swapInProgress());

    ASSERT_TRUE(test::waitUntil([&] { return !controller.swapInProgress() && load().activeWorkspace == "C"; }, 10000));
    EXPECT_EQ(order, (std::vector<QString>{u"perform returned"_qs, u"served while moving"_qs}));
    EXPECT_EQ(entries(desktop()), QStringList{"c1"});
    EXPECT_EQ(entries(root() + "/A"), (QStringList{"a1", "a2"}));
    EXPECT_EQ(entries(root() + "/B"), QStringList{"b1"});
    const Config config = load();
    EXPECT_FALSE(config.settings.scrollToCycle);
    EXPECT_EQ(config.workspace("B")->colorHex, "#123456");
    EXPECT_EQ(config.workspace("B")->files, QStringList{"b1"});
    EXPECT_TRUE(config.workspace("B")->lastActiveAt.has_value());
    EXPECT_EQ(controller.lastDesktop(), QString("B"));
    EXPECT_FALSE(controller.desktopWatcher().isPaused());
    EXPECT_FALSE(model.errorMessage().has_value());
}

// A switch still moving after a second says so in the tool tip, its count grouped as the
// locale writes numbers; the usual tool tip comes back once it is done.
TEST_F(SwitchOnWorker, ALongSwitchNamesItsCountInTheToolTipUntilItEnds)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStringList many;
    for (int i = 0; i < 1200; ++i)
        many.append(QStringLiteral("b%1").arg(i, 4, 10, QLatin1Char('0')));
    Config config = layOut({{"A", {"a1"}}, {"Work", many}});
    config.settings.menuBarAnimation = MenuBarAnimation::nudge;
    save(config);
    AppController controller(environment());
    controller.completeLaunch();
    const QString usual = status->toolTipText;

    QMenu &menu = controller.statusMenu().menu();
    // Followed: a deleted action reads as null, not as a new one at the same address.
    const auto tracked = [&] {
        const QList<QAction *> actions = menu.actions();
        return QList<QPointer<QAction>>(actions.begin(), actions.end());
    };
    const QList<QPointer<QAction>> idle = tracked();
    const auto firstLine = [&] { return menu.actions().value(0)->text().trimmed(); };

    controller.performSwitch("Work", true);
    // The menu names the switch at once, the count once the files' journal has it; the tool tip
    // only after the notice, and a menu rebuilt meanwhile (the document on disk changed) keeps it.
    EXPECT_EQ(firstLine(), u"Switching to Work…"_qs);
    ASSERT_TRUE(test::waitUntil([&] { return gate->waiting() && firstLine() == u"Moving 1,201 items to Work…"_qs; }));
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
    EXPECT_EQ(status->toolTipText, usual);
    const std::size_t framesBefore = status->images.size();
    scheduler.advance(SwitchCoordinator::underWayNotice);
    EXPECT_EQ(status->toolTipText, u"Moving 1,201 items to Work…"_qs);
    controller.statusMenu().rebuild();
    EXPECT_EQ(status->toolTipText, u"Moving 1,201 items to Work…"_qs);
    scheduler.advance(0.5);
    EXPECT_GT(status->images.size(), framesBefore);
    ASSERT_EQ(tracked().mid(2), idle);
    EXPECT_TRUE(idle[0]->isChecked());

    // The switch ends while the menu is open: the menu stays, and so do its items.
    status->whileMenuOpen = [&](QMenu &) {
        gate->open();
        ASSERT_TRUE(test::waitUntil([&] { return !controller.swapInProgress(); }, 10000));
    };
    status->click(StatusItem::Button::left);
    ASSERT_EQ(tracked(), idle);
    EXPECT_TRUE(idle[1]->isChecked());
    EXPECT_EQ(status->toolTipText, u"Work"_qs);
    EXPECT_EQ(usual, u"A"_qs);
    QLocale::setDefault(before);
}
