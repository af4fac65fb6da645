#include "Controller/ControllerHarness.h"
#include "Desktop/DesktopWatcher.h"
#include "Shared/Theme.h"
#include "StoreError.h"
#include "SurfaceError.h"
#include "SwapError.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include <map>
#include <string>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using quorvane::test::LogCapture;

namespace {

struct Switching : test::ControllerHarness {};

} // namespace

TEST_F(Switching, ASwitchMovesTheFilesLogsAndStampsTheNewDesktop)
{
    layOut({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    AppController controller(environment());
    LogCapture log;
    const Date before = dateNow();
    controller.performSwitch("B", true);

    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_EQ(entries(root() + "/A"), (QStringList{"a1", "a2"}));
    const Config config = load();
    EXPECT_EQ(config.activeWorkspace, "B");
    ASSERT_TRUE(config.workspace("B")->lastActiveAt.has_value());
    EXPECT_GE(*config.workspace("B")->lastActiveAt, before);
    EXPECT_EQ(controller.lastDesktop(), QString("A"));
    EXPECT_FALSE(controller.swapInProgress());
    EXPECT_FALSE(controller.desktopWatcher().isPaused());
    EXPECT_EQ(log.count(u"switched A → B in 0ms, 0 pinned-name skips"_qs), 1);
    EXPECT_TRUE(alerts.shown.empty());
    // The menu shows the new state.
    EXPECT_TRUE(controller.statusMenu().model().items[1].checked);
}

// The document is written by the engine only (the visit stamp rides on its last save), and a
// document another writer replaced between two switches is the one the next switch starts from.
TEST_F(Switching, ASwitchWritesOnlyTheEnginesSavesAndTheNextSeesADocumentChangedOnDisk)
{
    Config config = layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    config.settings.shownFirstSwitchNote = true;
    save(config);
    AppController controller(environment());
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(paths().store()).constData(), IN_MOVED_TO), 0);
    const Date before = dateNow();
    controller.performSwitch("B", true);
    scheduler.advance(5);
    std::map<std::string, int> replaced;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char *at = buffer; at < buffer + n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(at);
            ++replaced[event->len ? event->name : ""];
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(replaced, (std::map<std::string, int>{{"config.json", 2}, {"journal.json", 1}}));
    ASSERT_TRUE(load().workspace("B")->lastActiveAt.has_value());
    EXPECT_GE(*load().workspace("B")->lastActiveAt, before);

    config = load();
    Workspace c = Workspace::make("C");
    c.files = {"c1"};
    config.workspaces.push_back(c);
    touch(root() + "/C", {"c1"});
    store().saveConfig(config); // at once: the file's times may still be those of the switch's save
    controller.performSwitch("C", true);
    EXPECT_EQ(entries(desktop()), QStringList{"c1"});
    EXPECT_EQ(entries(root() + "/B"), QStringList{"b1"});
    EXPECT_EQ(load().activeWorkspace, "C");
}

TEST_F(Switching, ARequestForTheActiveDesktopOrInAReadOnlySessionDoesNothingAtAll)
{
    for (const bool readOnly : {false, true}) {
        layOut({{"A", {"a1"}}, {"B", {"b1"}}});
        if (readOnly)
            markNewer();
        AppController controller(environment());
        if (readOnly) {
            controller.completeLaunch(); // the launch finds the newer document
            ASSERT_TRUE(controller.readOnly());
            alerts.shown.clear();
        }
        const QByteArray stored = configBytes();
        const QList<QAction *> menuItems = controller.statusMenu().menu().actions();
        LogCapture log;
        controller.performSwitch(readOnly ? "B" : "A", true);
        scheduler.advance(5);
        EXPECT_EQ(configBytes(), stored); // no stamp, no note flag
        EXPECT_EQ(entries(desktop()), QStringList{"a1"});
        EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
        EXPECT_TRUE(alerts.shown.empty());
        EXPECT_EQ(controller.lastDesktop(), std::nullopt);
        EXPECT_EQ(controller.statusMenu().menu().actions(), menuItems); // not rebuilt
    }
}

TEST_F(Switching, AnEngineErrorGivesOneAlertAndStillDoesTheBookkeeping)
{
    layOut({{"A", {"a1"}}});
    AppController controller(environment());
    LogCapture log;
    controller.performSwitch("Nowhere", true);
    scheduler.advance(5); // no first-switch note follows a failed switch

    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Something went wrong");
    EXPECT_TRUE(alerts.shown[0].informativeText.contains("Nowhere"));
    EXPECT_TRUE(alerts.shown[0].buttons.isEmpty()); // the single default "OK"
    EXPECT_EQ(log.count("surfaced to the user: " + alerts.shown[0].informativeText), 1);
    // Only a switch that happened says so.
    EXPECT_EQ(log.countStartingWith(u"switched A → Nowhere"_qs), 0);
    const Config config = load();
    EXPECT_EQ(config.activeWorkspace, "A");
    EXPECT_TRUE(config.workspace("A")->lastActiveAt.has_value());
    EXPECT_FALSE(config.settings.shownFirstSwitchNote);
    EXPECT_EQ(controller.lastDesktop(), QString("A"));
    EXPECT_FALSE(controller.swapInProgress());
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});
}

TEST_F(Switching, ASwitchAskedForDuringAnotherOnesAlertLeavesTheOuterOneBusy)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    AppController controller(environment());
    bool busyAfterInner = false;
    alerts.whileShown = [&] {
        controller.performSwitch("B", true);
        busyAfterInner = controller.swapInProgress();
    };
    controller.performSwitch("Nowhere", true);
    EXPECT_TRUE(busyAfterInner); // the outer switch was still running
    EXPECT_FALSE(controller.swapInProgress());
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
}

TEST_F(Switching, PresentWordsTheAlertByTheErrorsKind)
{
    AppController controller(environment());
    controller.present(SwapError::crossVolumeStore());
    controller.present(StoreError::configNewerThanApp(3));
    controller.present(SwapError::desktopMissing());
    controller.present(SwapError::folderOutOfBounds("Work"));
    ASSERT_EQ(alerts.shown.size(), 4u);
    EXPECT_EQ(alerts.shown[2].message, "The Desktop folder is missing");
    EXPECT_TRUE(alerts.shown[2].informativeText.contains(desktop()));
    EXPECT_EQ(alerts.shown[3].message, u"Quorvane won't use the folder of \u201CWork\u201D"_qs);
    EXPECT_EQ(alerts.shown[0].message, "Store is on another volume");
    EXPECT_EQ(alerts.shown[0].informativeText,
              "Quorvane only runs when the workspace store and ~/Desktop are on the same disk.");
    EXPECT_EQ(alerts.shown[1].message, "Something went wrong");
    EXPECT_EQ(alerts.shown[1].informativeText, StoreError::configNewerThanApp(3).description());
    EXPECT_EQ(alerts.shown[1].style, AlertStyle::warning);

    // A failed move: the paths stay in the log, the alert names the item.
    controller.present(SurfaceError(ENOTDIR, "cannot move \"" + root() + "/Work/w1.txt\": Not a directory",
                                    u"Quorvane couldn't move \u201Cw1.txt\u201D: Not a directory."_qs));
    ASSERT_EQ(alerts.shown.size(), 5u);
    EXPECT_EQ(alerts.shown[4].informativeText, u"Quorvane couldn't move \u201Cw1.txt\u201D: Not a directory."_qs);
}

TEST_F(Switching, TheFirstSwitchNoteComesOnceASecondAfterAUserSwitch)
{
    layOut({{"A", {"a1"}}, {"B", {}}});
    AppController controller(environment());
    controller.performSwitch("B", true);
    EXPECT_TRUE(load().settings.shownFirstSwitchNote);
    scheduler.advance(0.99);
    EXPECT_TRUE(alerts.shown.empty());
    alerts.answers = {1};
    scheduler.advance(0.01);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Your files aren't gone!");
    EXPECT_EQ(alerts.shown[0].informativeText,
              u"We moved \u201CA\u201D into your desktops folder. Check it out, or try switching back!"_qs);
    EXPECT_EQ(alerts.shown[0].buttons, (QStringList{"OK", "Show Me the Folder"}));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(root()));

    controller.performSwitch("A", true);
    scheduler.advance(2);
    EXPECT_EQ(alerts.shown.size(), 1u);
}

// The note's alert serves events: a quit that ends the controller meanwhile leaves nothing to
// act on when the answer comes.
TEST_F(Switching, TheFirstSwitchNoteOutlivedByItsControllerActsOnNothing)
{
    layOut({{"A", {"a1"}}, {"B", {}}});
    auto controller = std::make_unique<AppController>(environment());
    controller->performSwitch("B", true);
    alerts.answers = {1}; // "Show Me the Folder"
    alerts.whileShown = [&] { controller.reset(); };
    scheduler.advance(1);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(controller, nullptr);
    EXPECT_TRUE(opened.empty());
}

TEST_F(Switching, NoFirstSwitchNoteLeavingTheBlankDesktopOrForTheStartUpCollapse)
{
    layOut({{"A", {"a1"}}, {"B", {}}});
    AppController controller(environment());
    controller.performSwitch(Config::blankWorkspaceName, false);
    controller.performSwitch("B", true);
    scheduler.advance(2);
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_FALSE(load().settings.shownFirstSwitchNote);
    EXPECT_EQ(entries(root() + "/A"), QStringList{"a1"});
}

TEST_F(Switching, HeldBackNamesAreReportedInTheSingularOrWithTheirCount)
{
    AppController controller(environment());
    controller.switching().notePinnedSkips({"Notes"});
    controller.switching().notePinnedSkips({"Notes", "Tax"});
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[0].message, u"\u201CNotes\u201D stayed in its desktop's folder"_qs);
    EXPECT_EQ(alerts.shown[0].informativeText,
              u"A pinned folder on the Desktop has the same name, so Quorvane didn't bring it out — nothing was moved or "
              u"overwritten. Rename one of the two, or unpin the folder, and switch again."_qs);
    EXPECT_EQ(alerts.shown[1].message, "2 items stayed in their desktop's folder");
    EXPECT_TRUE(alerts.shown[1].informativeText.contains("didn't bring them out"));
}

TEST_F(Switching, ItemsThatStayedAreNamedInOneAlert)
{
    AppController controller(environment());
    controller.noteStayedBehind({"Locked"});
    controller.noteStayedBehind({"Locked", "Taken"});
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[0].message, u"\u201CLocked\u201D stayed where it was"_qs);
    EXPECT_TRUE(alerts.shown[0].informativeText.contains(u"nothing was moved or overwritten"_qs));
    EXPECT_EQ(alerts.shown[1].message, "2 items stayed where they were");
    EXPECT_TRUE(alerts.shown[1].informativeText.endsWith("\n\nLocked\nTaken"));
}

TEST_F(Switching, AFolderThatCannotLeaveStaysOnTheDesktopAndTheSwitchCompletes)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for the superuser";
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    QDir().mkpath(desktop() + "/locked");
    ASSERT_EQ(::chmod(QFile::encodeName(desktop() + "/locked").constData(), 0555), 0);
    AppController controller(environment());
    LogCapture log;
    controller.performSwitch("B", true);
    ::chmod(QFile::encodeName(desktop() + "/locked").constData(), 0755);
    EXPECT_EQ(entries(desktop()), (QStringList{"b1", "locked"}));
    EXPECT_EQ(entries(root() + "/A"), QStringList{"a1"});
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_FALSE(QFileInfo::exists(paths().journal()));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, u"\u201Clocked\u201D stayed where it was"_qs);
    EXPECT_EQ(log.countStartingWith(u"switched A → B"_qs), 1);
}

// An item whose name the left desktop's folder holds is not left silently: the switch says it
// stayed, in its alert and its log, and the document lists it on the desktop now shown.
TEST_F(Switching, AnItemWhoseNameIsTakenInItsDesktopsFolderIsToldAndListedWhereItLies)
{
    Config config = layOut({{"Work", {"budget.csv", "notes.txt"}}, {"Personal", {"p1"}}});
    config.settings.shownFirstSwitchNote = true;
    save(config);
    touch(root() + "/Work", {"budget.csv"});
    AppController controller(environment());
    LogCapture log;
    controller.performSwitch("Personal", true);
    EXPECT_EQ(entries(desktop()), (QStringList{"budget.csv", "p1"}));
    EXPECT_EQ(load().workspace("Personal")->files, (QStringList{"p1", "budget.csv"}));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, u"\u201Cbudget.csv\u201D stayed where it was"_qs);
    EXPECT_EQ(log.count("1 item(s) could not move and stayed where they were: budget.csv"), 1);
}

TEST_F(Switching, APinnedNameHeldBackOnTheDesktopIsReportedAfterTheSwitch)
{
    layOut({{"A", {}}, {"B", {"Notes"}}});
    touch(desktop(), {"Notes"});
    Config config = load();
    config.settings.pinnedFolders = {"Notes"};
    save(config);
    AppController controller(environment());
    LogCapture log;
    controller.performSwitch("B", true);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, u"\u201CNotes\u201D stayed in its desktop's folder"_qs);
    EXPECT_EQ(log.count(u"switched A → B in 0ms, 1 pinned-name skips"_qs), 1);
}

TEST_F(Switching, AppearanceBaselineIsKeptAcrossOverridesAndRestoredOnce)
{
    Config config;
    for (const auto &[name, mode] : {std::pair{"D", AppearanceMode::dark}, std::pair{"L", AppearanceMode::light},
                                     std::pair{"S", AppearanceMode::system}}) {
        Workspace workspace = Workspace::make(name);
        workspace.preferredAppearance = mode;
        config.workspaces.push_back(workspace);
    }
    AppController controller(environment());
    session.dark = false;
    controller.applyAppearance("D", config);
    EXPECT_TRUE(session.dark);
    EXPECT_EQ(controller.switching().appearanceBaseline(), AppearanceMode::light);
    controller.applyAppearance("L", config);
    EXPECT_FALSE(session.dark);
    EXPECT_EQ(controller.switching().appearanceBaseline(), AppearanceMode::light);
    controller.applyAppearance("S", config);
    EXPECT_FALSE(session.dark);
    EXPECT_EQ(controller.switching().appearanceBaseline(), std::nullopt);
    EXPECT_EQ(session.changes, (std::vector<bool>{true, false}));
    // Following the system with no baseline, or a missing desktop, changes nothing.
    controller.applyAppearance("Gone", config);
    EXPECT_EQ(session.changes.size(), 2u);
}

// The application's own windows, following the system, turn with the desktop at once.
TEST_F(Switching, TheApplicationsLookTurnsWithTheDesktopsAppearance)
{
    Config config;
    Workspace night = Workspace::make("Night");
    night.preferredAppearance = AppearanceMode::dark;
    config.workspaces = {night, Workspace::make("Day")};
    AppController controller(environment());
    session.dark = false;
    Theme::shared().setSystemSource([this] { return session.dark; });
    Theme::shared().apply(Appearance{});
    EXPECT_FALSE(Theme::shared().dark());
    controller.applyAppearance("Night", config);
    EXPECT_TRUE(Theme::shared().dark());
    controller.applyAppearance("Day", config);
    EXPECT_FALSE(Theme::shared().dark());
    Theme::shared().setSystemSource({});
}

TEST_F(Switching, SweepsRunInTheOverruleOrderAndSkipArchivedTargets)
{
    struct Case {
        bool overrule;
        WorkspaceState shotsState;
        WorkspaceState ruleState;
        QString landsIn; // empty: stays on the Desktop
    };
    const std::vector<Case> cases{
        {true, WorkspaceState::active, WorkspaceState::active, "Shots"},
        {false, WorkspaceState::active, WorkspaceState::active, "Rule"},
        {true, WorkspaceState::archivedUnsorted, WorkspaceState::active, "Rule"},
        {true, WorkspaceState::archivedSorted, WorkspaceState::archivedUnsorted, ""},
    };
    for (const Case &c : cases) {
        test::TempHome caseHome;
        pathsOverride = Paths::forHome(caseHome.path());
        layOut({{"A", {}}, {"Shots", {}}, {"Rule", {}}});
        touch(desktop(), {"Screenshot 1.png", "keep.txt"});
        Config config = load();
        config.workspace("A")->files = {"Screenshot 1.png", "keep.txt"};
        config.workspace("Shots")->state = c.shotsState;
        config.workspace("Rule")->state = c.ruleState;
        if (c.shotsState != WorkspaceState::active)
            QDir(root() + "/Shots").removeRecursively();
        if (c.ruleState != WorkspaceState::active)
            QDir(root() + "/Rule").removeRecursively();
        config.settings.filterScreenshots = true; // names match with the stored fallback off
        config.settings.screenshotNamePrefix = "Screenshot";
        config.settings.screenshotsWorkspace = "Shots";
        config.settings.customFiltersEnabled = true;
        CustomFilter rule;
        rule.pattern = "shot";
        rule.collection = "Rule";
        config.settings.customFilters = {rule};
        config.settings.screenshotsOverruleCustom = c.overrule;
        save(config);

        AppController controller(environment());
        controller.sweepActiveDesktopNow();
        for (const QString &name : {QString("Shots"), QString("Rule")}) {
            const bool expected = name == c.landsIn;
            EXPECT_EQ(QFile::exists(root() + '/' + name + "/Screenshot 1.png"), expected) << name.toStdString();
            // An archived target gets no stray folder in the desktops folder.
            if (load().workspace(name)->state != WorkspaceState::active) {
                EXPECT_FALSE(QFileInfo::exists(root() + '/' + name));
            }
        }
        EXPECT_EQ(QFile::exists(desktop() + "/Screenshot 1.png"), c.landsIn.isEmpty());
        EXPECT_TRUE(QFile::exists(desktop() + "/keep.txt"));
    }
}

TEST_F(Switching, ADesktopFolderThatIsTheHomeFolderIsNeverSwitched)
{
    pathsOverride = Paths(home.path(), home.path());
    touch(home.path(), {"letter.txt"});
    Config config;
    config.activeWorkspace = "A";
    config.workspaces = {Workspace::make("A"), Workspace::make("B")};
    config.workspaces[0].files = {"letter.txt"};
    save(config);
    const QByteArray stored = configBytes();
    AppController controller(environment());
    controller.performSwitch("B", true);
    controller.sweepActiveDesktopNow();
    EXPECT_TRUE(QFile::exists(home.path() + "/letter.txt"));
    EXPECT_EQ(configBytes(), stored);
    EXPECT_FALSE(controller.swapInProgress());
}

TEST_F(Switching, ChoosingADesktopFromTheOpenMenuSwitchesOnceTheMenuHasClosed)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    AppController controller(environment());
    controller.completeLaunch();
    bool switchedWhileOpen = true;
    status->whileMenuOpen = [&](QMenu &menu) {
        menu.actions()[1]->trigger(); // "B"
        switchedWhileOpen = load().activeWorkspace == "B";
    };
    status->click(StatusItem::Button::left);
    EXPECT_FALSE(switchedWhileOpen);
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_EQ(status->poppedUpMenus.size(), 1);
}

// The document edited in place on disk, its size and modification time kept: the menu that
// opens shows it, and the item of a desktop renamed while the menu was open switches nowhere.
TEST_F(Switching, TheMenuOpensOnTheDocumentOnDiskAndAGoneDesktopIsNotSwitchedTo)
{
    layOut({{"Work", {"w1"}}, {"Play", {"p1"}}});
    AppController controller(environment());
    controller.completeLaunch();
    const QByteArray path = QFile::encodeName(paths().config());
    const auto editInPlace = [&](const QByteArray &from, const QByteArray &to) {
        struct stat before {};
        ASSERT_EQ(::stat(path.constData(), &before), 0);
        QByteArray bytes = configBytes();
        bytes.replace(from, to);
        QFile file(paths().config());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)); // the same file, rewritten over itself
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    };
    editInPlace("\"Play\"", "\"Game\"");
    QStringList titles;
    status->whileMenuOpen = [&](QMenu &menu) {
        for (QAction *action : menu.actions())
            titles << action->text().trimmed();
        editInPlace("\"Game\"", "\"Toys\"");
        menu.actions()[1]->trigger(); // "Game", gone by now
    };
    status->click(StatusItem::Button::left);
    EXPECT_EQ(titles.mid(0, 2), (QStringList{"Work", "Game"}));
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(load().activeWorkspace, "Work");
    EXPECT_EQ(entries(desktop()), QStringList{"w1"});
    EXPECT_EQ(controller.statusMenu().model().items[1].workspace, "Toys");
}

TEST_F(Switching, TheMiddleButtonOrAltWithTheLeftRunsTheCarouselInsteadOfTheMenu)
{
    Config config = layOut({{"A", {}}, {"B", {}}, {"C", {}}});
    config.settings.optionClickCarousel = {"C", "A"};
    save(config);
    AppController controller(environment());
    controller.completeLaunch();
    status->click(StatusItem::Button::left, Qt::AltModifier);
    EXPECT_TRUE(status->poppedUpMenus.isEmpty());
    EXPECT_EQ(load().activeWorkspace, "C");
    status->click(StatusItem::Button::left, Qt::AltModifier);
    EXPECT_EQ(load().activeWorkspace, "A");
    status->click(StatusItem::Button::middle);
    EXPECT_TRUE(status->poppedUpMenus.isEmpty());
    EXPECT_EQ(load().activeWorkspace, "C");
    status->click(StatusItem::Button::right, Qt::AltModifier);
    EXPECT_EQ(status->poppedUpMenus.size(), 1);
    EXPECT_EQ(load().activeWorkspace, "C");
}

TEST_F(Switching, TheMiddleButtonRunsTheCarouselAndTheToolTipNamesTheActiveDesktop)
{
    Config config = layOut({{"A", {}}, {"B", {}}, {"C", {}}});
    config.settings.optionClickCarousel = {"C", "A"};
    save(config);
    AppController controller(environment());
    controller.completeLaunch();
    EXPECT_EQ(status->menu, &controller.statusMenu().menu());
    EXPECT_EQ(status->toolTipText, "A");
    status->click(StatusItem::Button::middle);
    EXPECT_TRUE(status->poppedUpMenus.isEmpty());
    EXPECT_EQ(load().activeWorkspace, "C");
    EXPECT_EQ(status->toolTipText, "C");
}

TEST_F(Switching, ChoosingTheActiveDesktopKeepsItsCheckMark)
{
    layOut({{"A", {"a1"}}, {"B", {}}});
    AppController controller(environment());
    controller.completeLaunch();
    status->whileMenuOpen = [&](QMenu &menu) { menu.actions()[0]->trigger(); }; // "A"
    status->click(StatusItem::Button::left);
    EXPECT_EQ(load().activeWorkspace, "A");
    EXPECT_TRUE(controller.statusMenu().menu().actions()[0]->isChecked());
    EXPECT_FALSE(controller.statusMenu().menu().actions()[1]->isChecked());
}

TEST_F(Switching, TheScreenshotFilteringItemPausesAndResumesAndRebuildsTheMenu)
{
    Config config = layOut({{"A", {}}});
    config.settings.filterScreenshots = true;
    config.settings.showScreenshotPauseInMenu = true;
    save(config);
    AppController controller(environment());
    controller.statusMenu().rebuild();
    const auto filteringChecked = [&] {
        for (const StatusMenuItem &item : controller.statusMenu().model().items) {
            if (item.action == StatusMenuAction::toggleScreenshotFilteringPause)
                return item.checked;
        }
        ADD_FAILURE() << "no screenshot filtering item";
        return false;
    };
    EXPECT_TRUE(filteringChecked());
    controller.toggleScreenshotFilteringPause();
    EXPECT_TRUE(load().settings.screenshotFilteringPaused);
    EXPECT_FALSE(filteringChecked());
    controller.toggleScreenshotFilteringPause();
    EXPECT_FALSE(load().settings.screenshotFilteringPaused);
    EXPECT_TRUE(filteringChecked());
}
