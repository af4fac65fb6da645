#include "Controller/ControllerHarness.h"
#include "Desktop/Archiver.h"
#include "Settings/SettingsModel.h"
#include "Triggers/KeyRecorder.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using namespace quorvane;

namespace {

constexpr std::uint32_t controlOption = HotKeySpec::control | HotKeySpec::option;

struct Triggers : test::ControllerHarness {
    // Sets the active desktop in the document alone (the desktops here hold no files).
    void activate(const QString &name)
    {
        Config config = load();
        config.activeWorkspace = name;
        save(config);
    }
    QString active() { return load().activeWorkspace; }
    void edit(const std::function<void(Config &)> &change)
    {
        Config config = load();
        change(config);
        save(config);
    }
    // Archives a desktop as its timer would (only temporary desktops are archived).
    void archive(AppController &controller, const QString &name)
    {
        edit([&](Config &c) { c.workspace(name)->type = WorkspaceType::temporary; });
        controller.archiver().archive(name);
        ASSERT_NE(load().workspace(name)->state, WorkspaceState::active);
    }
    QStringList menuTitles(AppController &controller)
    {
        QStringList titles;
        for (const QAction *action : controller.statusMenu().menu().actions())
            titles << action->text();
        return titles;
    }
};

} // namespace

TEST_F(Triggers, ReloadRegistersDesktopsThenTheGlobalShortcutsAndARefusalStopsNoOther)
{
    layOut({{"A", {}}, {"B", {}}, {"Old", {}}, {"Temp", {}}});
    edit([](Config &c) {
        c.workspace("A")->hotkey = HotKeySpec{0, controlOption};
        c.workspace("B")->hotkey = HotKeySpec{11, controlOption};
        c.workspace("Old")->hotkey = HotKeySpec{31, controlOption};
        c.workspace("Old")->state = WorkspaceState::archivedUnsorted;
        c.workspace("Temp")->type = WorkspaceType::temporary;
        c.workspace("Temp")->hotkey = HotKeySpec{17, controlOption};
        AppSettings &s = c.settings;
        s.cycleNext = HotKeySpec{101, controlOption};
        s.cyclePrevious = HotKeySpec{103, controlOption};
        s.hideDesktopShortcut = HotKeySpec{105, controlOption};
        s.switchToLastShortcut = HotKeySpec{107, controlOption};
        s.openSettingsShortcut = HotKeySpec{109, controlOption};
        s.openCalendarShortcut = HotKeySpec{111, controlOption};
        s.sortNowShortcut = HotKeySpec{113, controlOption};
        s.floatingDockShortcut = HotKeySpec{96, controlOption};
    });
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    EXPECT_EQ(hotKeys.liveKeyCodes(), (std::vector<std::uint32_t>{0, 11, 17, 101, 103, 105, 107, 109, 111, 113, 96}));
    EXPECT_EQ(hotKeys.grabs.front().combination, Qt::CTRL | Qt::ALT | Qt::Key_A);

    // A second pass lets go of the first; refused combinations leave no gap in the ids, and
    // each refusal is said in the log.
    hotKeys.refusedKeyCodes = {11, 101};
    {
        test::LogCapture log;
        controller.hotKeys().reload(controller.store().document());
        EXPECT_EQ(log.lines.filter("was refused").size(), 2) << qPrintable(log.lines.join('\n'));
    }
    EXPECT_EQ(hotKeys.liveKeyCodes(), (std::vector<std::uint32_t>{0, 17, 103, 105, 107, 109, 111, 113, 96}));
    EXPECT_EQ(hotKeys.liveIds(), (std::vector<HotKeyRegistrar::Id>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // The shortcut after the refused ones works: cycle previous from A wraps to B.
    ASSERT_TRUE(hotKeys.press(103));
    EXPECT_EQ(active(), "B");
    EXPECT_FALSE(hotKeys.press(101));
    // The settings model learns which stored shortcuts are held elsewhere, and when they are free.
    SettingsModel &model = controller.ensureSettingsModel();
    EXPECT_EQ(model.refusedHotKeys(),
              (std::vector<HotKeySpec>{HotKeySpec{11, controlOption}, HotKeySpec{101, controlOption}}));
    hotKeys.refusedKeyCodes = {};
    controller.hotKeys().reload(controller.store().document());
    EXPECT_TRUE(model.refusedHotKeys().empty());
}

TEST_F(Triggers, ADesktopsKeySwitchesOnlyWhileThatDesktopIsLive)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    edit([](Config &c) {
        c.workspace("B")->hotkey = HotKeySpec{11, controlOption};
        c.workspace("C")->hotkey = HotKeySpec{8, controlOption};
    });
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    ASSERT_TRUE(hotKeys.press(11));
    EXPECT_EQ(active(), "B");
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    controller.performSwitch("A", true);

    // B is archived and C deleted without the keys being registered again.
    archive(controller, "B");
    edit([](Config &c) { std::erase_if(c.workspaces, [](const Workspace &w) { return w.name == "C"; }); });
    const QByteArray stored = configBytes();
    EXPECT_TRUE(hotKeys.press(11));
    EXPECT_TRUE(hotKeys.press(8));
    EXPECT_EQ(configBytes(), stored);
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});
    EXPECT_FALSE(QFileInfo::exists(root() + "/B")); // no folder blocking B's restore
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Triggers, WhileARecorderListensItsKeysReachItNotTheGrabs)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    edit([](Config &c) {
        c.workspace("B")->hotkey = HotKeySpec{20, controlOption};
        c.workspace("C")->hotkey = HotKeySpec{21, controlOption};
    });
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    QWidget window;
    auto *first = new KeyRecorderView(&window);
    auto *second = new KeyRecorderView(&window);
    second->move(0, 30);
    std::vector<std::optional<HotKeySpec>> recorded;
    first->setOnChange([&](std::optional<HotKeySpec> spec) { recorded.push_back(spec); });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_TRUE(hotKeys.liveKeyCodes().empty()); // B's key is free for the recorder
    EXPECT_FALSE(hotKeys.press(20));
    controller.hotKeys().reload(controller.store().document()); // a reload meanwhile grabs nothing either
    EXPECT_TRUE(hotKeys.liveKeyCodes().empty());
    QTest::mouseClick(second, Qt::LeftButton); // the focus moves on: still listening
    EXPECT_TRUE(hotKeys.liveKeyCodes().empty());
    QTest::mouseClick(first, Qt::LeftButton);
    QTest::keyClick(first, Qt::Key_3, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0], (HotKeySpec{20, controlOption}));
    EXPECT_EQ(active(), "A");

    // Listening over, the keys are grabbed again under their ids and work.
    EXPECT_EQ(hotKeys.liveKeyCodes(), (std::vector<std::uint32_t>{20, 21}));
    ASSERT_TRUE(hotKeys.press(21));
    EXPECT_EQ(active(), "C");
}

TEST_F(Triggers, CyclingWrapsBothWaysAndStartsAtAnEndOffTheRing)
{
    layOut({{"A", {}}, {"B", {}}, {"C", {}}, {"T", {}}});
    edit([](Config &c) { c.workspace("T")->type = WorkspaceType::temporary; });
    AppController controller(environment());
    struct Case {
        QString from;
        int step;
        QString to;
    };
    const Case cases[] = {
        {"B", 1, "C"},
        {"B", -1, "A"},
        {"C", 1, "A"},
        {"A", -1, "C"},
        {Config::blankWorkspaceName, 1, "A"},
        {Config::blankWorkspaceName, -1, "C"},
        {"T", 1, "A"},
        {"T", -1, "C"},
        {"Gone", 1, "A"},
    };
    for (const Case &c : cases) {
        activate(c.from);
        controller.cycle(c.step);
        EXPECT_EQ(active(), c.to) << c.from.toStdString() << " " << c.step;
    }
    // A ring of one whose desktop is active stays put.
    edit([](Config &c) {
        for (const QString name : {"B", "C"})
            c.workspace(name)->state = WorkspaceState::archivedSorted;
        c.activeWorkspace = "A";
    });
    const std::optional<QString> before = controller.lastDesktop();
    ASSERT_NE(before, QString("A"));
    controller.cycle(1);
    EXPECT_EQ(active(), "A");
    EXPECT_EQ(controller.lastDesktop(), before); // no switch ran
}

TEST_F(Triggers, TheCarouselGoesRoundItsLiveStopsElseTheSwitchableDesktops)
{
    layOut({{"A", {}}, {"B", {}}, {"C", {}}});
    AppController controller(environment());
    edit([](Config &c) { c.settings.optionClickCarousel = {"C", "A"}; });
    for (const auto &[from, to] : {std::pair{"A", "C"}, {"C", "A"}, {"B", "C"}}) {
        activate(from);
        controller.cycleOptionClick();
        EXPECT_EQ(active(), to) << from;
    }
    edit([](Config &c) {
        c.settings.optionClickCarousel = {"C", "Gone"};
        c.workspace("C")->state = WorkspaceState::archivedUnsorted;
        c.activeWorkspace = "A";
    });
    controller.cycleOptionClick();
    EXPECT_EQ(active(), "B");

    edit([](Config &c) { c.settings.optionClickCarousel = {"B"}; });
    const std::optional<QString> before = controller.lastDesktop();
    ASSERT_NE(before, QString("B"));
    controller.cycleOptionClick();
    EXPECT_EQ(active(), "B");
    EXPECT_EQ(controller.lastDesktop(), before); // no switch ran
}

TEST_F(Triggers, HideAndShowRemembersTheHiddenDesktopWhileItIsLive)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    edit([](Config &c) { c.settings.hideDesktopShortcut = HotKeySpec{4, controlOption}; });
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    ASSERT_TRUE(hotKeys.press(4));
    EXPECT_EQ(active(), Config::blankWorkspaceName);
    EXPECT_EQ(load().lastExpandedWorkspace, QString("A"));
    EXPECT_TRUE(entries(desktop()).isEmpty());
    ASSERT_TRUE(hotKeys.press(4));
    EXPECT_EQ(active(), "A");
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});

    controller.toggleCollapse();
    archive(controller, "A");
    controller.toggleCollapse();
    EXPECT_EQ(active(), "B"); // the first live desktop
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Triggers, HideAndShowOnTheBlankDesktopWithNothingLiveDoesNothing)
{
    Config config;
    config.activeWorkspace = Config::blankWorkspaceName;
    config.workspaces.push_back(Workspace::make(Config::blankWorkspaceName));
    QDir().mkpath(root() + '/' + Config::blankWorkspaceName);
    save(config);
    const QByteArray stored = configBytes();
    AppController controller(environment());
    controller.toggleCollapse();
    EXPECT_EQ(configBytes(), stored);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Triggers, SwitchToLastGoesBackWhileThePreviousDesktopIsLive)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {}}});
    edit([](Config &c) { c.settings.switchToLastShortcut = HotKeySpec{37, controlOption}; });
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    ASSERT_TRUE(hotKeys.press(37)); // nothing before: nothing happens
    EXPECT_EQ(active(), "A");

    controller.performSwitch("B", true);
    ASSERT_TRUE(hotKeys.press(37));
    EXPECT_EQ(active(), "A");
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});
    ASSERT_TRUE(hotKeys.press(37));
    EXPECT_EQ(active(), "B");

    controller.performSwitch("C", true); // B is the previous one
    archive(controller, "B");
    ASSERT_TRUE(hotKeys.press(37));
    EXPECT_EQ(active(), "C");

    controller.toggleCollapse(); // the blank desktop is a desktop to go back to
    controller.performSwitch("A", true);
    ASSERT_TRUE(hotKeys.press(37));
    EXPECT_EQ(active(), Config::blankWorkspaceName);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Triggers, TheSettingsShortcutOpensTheSettingsWindowAsARegularApplication)
{
    layOut({{"A", {}}});
    edit([](Config &c) { c.settings.openSettingsShortcut = HotKeySpec{43, HotKeySpec::command}; });
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    ASSERT_TRUE(hotKeys.press(43));
    QWidget *window = controller.windows().settingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(activation.mode(), ActivationPolicy::Mode::regular);
    ASSERT_TRUE(hotKeys.press(43));
    EXPECT_EQ(controller.windows().settingsWindow(), window); // reused
}

TEST_F(Triggers, TheMinuteTickAndTheWakeCompleteDueTimersAndOnlyThenRebuild)
{
    layOut({{"A", {}}, {"Temp", {"t1"}}, {"Later", {"l1"}}});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    const QList<QAction *> before = controller.statusMenu().menu().actions();
    ASSERT_FALSE(before.isEmpty());
    scheduler.advance(60); // nothing due
    EXPECT_EQ(controller.statusMenu().menu().actions(), before);

    const auto due = [this](const QString &name) {
        edit([name](Config &c) {
            c.workspace(name)->type = WorkspaceType::temporary;
            c.workspace(name)->timer = ArchiveTimer{ArchiveTimerMode::idle, 1};
            c.workspace(name)->lastActiveAt = dateNow() - 10 * 86400;
        });
    };
    due("Temp");
    sessionEvents.wake();
    EXPECT_NE(load().workspace("Temp")->state, WorkspaceState::active);
    EXPECT_FALSE(menuTitles(controller).join('|').contains("Temp"));

    due("Later");
    scheduler.advance(60);
    EXPECT_NE(load().workspace("Later")->state, WorkspaceState::active);
    EXPECT_FALSE(menuTitles(controller).join('|').contains("Later"));
}

TEST_F(Triggers, ADesktopChangeSweepsInTheOverruleOrderOnlyWhenNothingElseIsUnderWay)
{
    enum class Hold {
        none,
        switching,
        journal,
        readOnly,
        filtersOff
    };
    struct Case {
        bool overrule;
        Hold hold;
        QString landsIn; // empty: stays on the Desktop
    };
    const Case cases[] = {
        {true, Hold::none, "Shots"},
        {false, Hold::none, "Rule"},
        {true, Hold::switching, ""},
        {true, Hold::journal, ""},
        {true, Hold::readOnly, ""},
        {true, Hold::filtersOff, ""},
    };
    for (const Case &c : cases) {
        test::TempHome caseHome;
        pathsOverride = Paths::forHome(caseHome.path());
        layOut({{"A", {"Screenshot 1.png"}}, {"Shots", {}}, {"Rule", {}}});
        edit([&](Config &config) {
            AppSettings &s = config.settings;
            s.filterScreenshots = c.hold != Hold::filtersOff;
            s.screenshotFilenameFallback = true;
            s.screenshotNamePrefix = "Screenshot";
            s.screenshotsWorkspace = "Shots";
            s.customFiltersEnabled = c.hold != Hold::filtersOff;
            CustomFilter rule;
            rule.pattern = "shot";
            rule.collection = "Rule";
            s.customFilters = {rule};
            s.screenshotsOverruleCustom = c.overrule;
        });
        if (c.hold == Hold::journal)
            test::writeFile(paths().journal(),
                            R"({"fromWorkspace":"A","toWorkspace":"Shots","outgoing":[],"incoming":[]})");
        if (c.hold == Hold::readOnly)
            markNewer();
        AppController controller(environment());
        if (c.hold == Hold::readOnly) {
            controller.completeLaunch();
            ASSERT_TRUE(controller.readOnly());
        }
        const auto sweepAndLook = [&] {
            controller.onDesktopChanged();
            for (const QString name : {"Shots", "Rule"})
                EXPECT_EQ(QFile::exists(root() + '/' + name + "/Screenshot 1.png"), name == c.landsIn) << int(c.hold);
            EXPECT_EQ(QFile::exists(desktop() + "/Screenshot 1.png"), c.landsIn.isEmpty()) << int(c.hold);
        };
        if (c.hold == Hold::switching)
            switchRunning(controller, "Rule", sweepAndLook);
        else
            sweepAndLook();
    }
}

TEST_F(Triggers, SortNowInAReadOnlySessionMovesNothing)
{
    layOut({{"A", {"Screenshot 1.png"}}, {"Shots", {}}});
    edit([](Config &c) {
        c.settings.filterScreenshots = true;
        c.settings.screenshotFilenameFallback = true;
        c.settings.screenshotNamePrefix = "Screenshot";
        c.settings.screenshotsWorkspace = "Shots";
        c.settings.sortNowShortcut = HotKeySpec{1, controlOption};
    });
    const QByteArray current = configBytes();
    markNewer();
    {
        AppController controller(environment());
        controller.completeLaunch();
        ASSERT_TRUE(controller.readOnly());
        ASSERT_TRUE(hotKeys.press(1));
        EXPECT_TRUE(QFile::exists(desktop() + "/Screenshot 1.png"));
    }
    test::writeFile(paths().config(), current);
    AppController controller(environment());
    controller.hotKeys().reload(controller.store().document());
    ASSERT_TRUE(hotKeys.press(1));
    EXPECT_TRUE(QFile::exists(root() + "/Shots/Screenshot 1.png"));
}

TEST_F(Triggers, SessionObserversLiveAsLongAsTheController)
{
    layOut({{"A", {}}});
    {
        AppController controller(environment());
        const std::size_t others = sessionEvents.observerCount(); // the reminders' own
        controller.applicationDidFinishLaunching();
        EXPECT_EQ(sessionEvents.observerCount(), others + 2);
        sessionEvents.changeWorkspace(); // reaches the dock and the cue overlay, harmlessly here
    }
    EXPECT_EQ(sessionEvents.observerCount(), 0u);
    sessionEvents.wake();
}
