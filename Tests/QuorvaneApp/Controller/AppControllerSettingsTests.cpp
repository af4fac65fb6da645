#include "Controller/ControllerHarness.h"
#include "Desktop/DesktopWatcher.h"
#include "Settings/SettingsModel.h"
#include "Settings/SettingsWindowController.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/ExperimentalTab.h"
#include "SettingsViews/FloatingDockTab.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/SettingsView.h"

#include "Journal.h"
#include "Wait.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace quorvane;
using namespace quorvane::test;

using SettingsWiring = ControllerHarness;

TEST_F(SettingsWiring, OneModelServesTheCalendarAndTheSettings)
{
    layOut({{"A", {}}});
    AppController controller(environment());
    EXPECT_EQ(controller.settingsModel(), nullptr);
    controller.windows().openCalendar();
    SettingsModel *model = controller.settingsModel();
    ASSERT_NE(model, nullptr);
    controller.windows().openSettings();
    controller.windows().newWorkspace();
    EXPECT_EQ(controller.settingsModel(), model);
    EXPECT_EQ(&controller.ensureSettingsModel(), model);
    EXPECT_EQ(model->config().activeWorkspace, "A");
    controller.windows().settingsWindow()->close();
}

TEST_F(SettingsWiring, ASavedChangeBringsTheRunningApplicationAlong)
{
    Config config = layOut({{"A", {"a1"}}, {"B", {}}});
    config.workspaces[0].cue = DesktopCue(true, DesktopCue::Fill::color("#112233"), 0.5, false, false);
    save(config);
    AppController controller(environment());
    controller.completeLaunch();
    SettingsModel &model = controller.ensureSettingsModel();
    ASSERT_TRUE(controller.cueOverlay().current());

    model.setOverlaysMuted(true);
    EXPECT_FALSE(controller.cueOverlay().current());
    model.setOverlaysMuted(false);
    EXPECT_EQ(controller.cueOverlay().current(), config.workspaces[0].cue);

    model.rename("B", "Beta");
    EXPECT_TRUE(controller.statusMenu().model().titles().join('|').contains("Beta"));

    controller.menuBarIcon().playSwitch(MenuBarAnimation::nudge);
    ASSERT_TRUE(controller.menuBarIcon().isPlaying());
    model.setMenuBarAnimation(MenuBarAnimation::mirror);
    EXPECT_TRUE(controller.menuBarIcon().isPlaying());
    model.setMenuBarAnimation(MenuBarAnimation::none);
    EXPECT_FALSE(controller.menuBarIcon().isPlaying());

    // The settings' switch is the controller's; a pending journal makes the model wait.
    model.onSwitch("Beta");
    EXPECT_EQ(load().activeWorkspace, "Beta");
    EXPECT_EQ(model.config().activeWorkspace, "Beta");
    store().saveJournal(Journal{"Beta", "A", {}, {}});
    model.deleteWorkspace("A");
    EXPECT_EQ(model.errorMessage(), QString("Quorvane is mid-switch. Try again in a moment."));
    EXPECT_TRUE(load().workspace("A"));
}

TEST_F(SettingsWiring, ACornerChosenInTheSettingsWindowReachesTheWatcher)
{
    layOut({{"A", {}}});
    AppController controller(environment());
    controller.completeLaunch();
    controller.windows().openSettings();
    auto *view = controller.windows().settingsWindow()->findChild<SettingsView *>();
    ASSERT_NE(view, nullptr);
    view->select(SettingsSection::floatingDock);
    auto *tab = qobject_cast<FloatingDockTab *>(view->pane()->content());
    ASSERT_NE(tab, nullptr);
    ASSERT_EQ(controller.cornerWatcher().corner(), FloatingDockCorner::off);

    QComboBox *picker = tab->cornerPicker();
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);
    const auto chosen = FloatingDockCorner(picker->currentData().toInt());
    ASSERT_NE(chosen, FloatingDockCorner::off);
    EXPECT_EQ(load().settings.floatingDockCorner, chosen);
    EXPECT_EQ(controller.cornerWatcher().corner(), chosen);

    // Another of the section's controls, read by another component: the dock colours its folders.
    QCheckBox *colours = nullptr;
    for (auto *row : tab->findChildren<SettingRow *>()) {
        const auto *title = row->findChild<QLabel *>();
        if (title && title->text() == "Colour the folders by desktop")
            colours = qobject_cast<QCheckBox *>(row->control());
    }
    ASSERT_NE(colours, nullptr);
    const bool coloured = controller.floatingDock().model().colorFolders();
    colours->setFocus();
    QTest::keyClick(colours, Qt::Key_Space);
    EXPECT_EQ(load().settings.floatingDockColorFolders, !coloured);
    EXPECT_EQ(controller.floatingDock().model().colorFolders(), !coloured);
    controller.windows().settingsWindow()->close();
}

TEST_F(SettingsWiring, AHandEditOfTheDocumentReachesTheComponentsUnasked)
{
    Config config = layOut({{"A", {}}, {"B", {}}});
    config.workspaces[0].cue = DesktopCue(true, DesktopCue::Fill::color("#112233"), 0.5, false, false);
    save(config);
    spaces.desktops(3, 1);
    AppController controller(environment());
    controller.completeLaunch();
    ASSERT_TRUE(controller.cueOverlay().current());
    ASSERT_TRUE(controller.store().watching());
    ASSERT_FALSE(controller.spaceFollower().isStarted());

    // Edited behind the application's back; nothing here asks it to read the document.
    config = load();
    config.settings.overlaysMuted = true;
    config.settings.floatingDockCorner = FloatingDockCorner::bottomRight;
    config.workspaces[1].hotkey = HotKeySpec{20, HotKeySpec::control};
    config.workspaces[1].name = "Beta";
    config.settings.floatingDockColorFolders = !config.settings.floatingDockColorFolders;
    config.settings.menuBarAnimation = MenuBarAnimation::none;
    CustomFilter rule;
    rule.pattern = "shot";
    rule.collection = "A";
    config.settings.customFilters = {rule};
    config.settings.customFiltersEnabled = true;
    config.settings.customFiltersWatch = true;
    config.settings.followSpaces = true;
    controller.menuBarIcon().playSwitch(MenuBarAnimation::nudge);
    ASSERT_FALSE(controller.desktopWatcher().isWatching());
    save(config);
    EXPECT_TRUE(waitUntil([&] {
        return controller.cornerWatcher().corner() == FloatingDockCorner::bottomRight
            && !controller.cueOverlay().current() && hotKeys.liveKeyCodes() == std::vector<std::uint32_t>{20};
    }));
    // The status menu, the dock, the glyph and the watchers took it from the same announcement.
    EXPECT_TRUE(controller.statusMenu().model().titles().join('|').contains("Beta"));
    EXPECT_EQ(controller.floatingDock().model().colorFolders(), config.settings.floatingDockColorFolders);
    EXPECT_FALSE(controller.menuBarIcon().isPlaying());
    EXPECT_TRUE(controller.desktopWatcher().isWatching());
    EXPECT_TRUE(controller.spaceFollower().isStarted());
    EXPECT_EQ(controller.store().state(), DocumentService::State::readable);
}

TEST_F(SettingsWiring, TheSettingsReadTheControllersWorkspaces)
{
    layOut({{"A", {}}});
    spaces.desktops(3, 1);
    AppController controller(environment());
    controller.windows().openSettings();
    auto *view = controller.windows().settingsWindow()->findChild<SettingsView *>();
    ASSERT_NE(view, nullptr);
    view->select(SettingsSection::experimental);
    auto *tab = qobject_cast<ExperimentalTab *>(view->pane()->content());
    ASSERT_NE(tab, nullptr);
    ASSERT_TRUE(tab->currentSpace());
    EXPECT_EQ(tab->currentSpace()->identity, "ewmh-desktop-1");
    EXPECT_EQ(tab->spaceCount(), 3);
    controller.windows().settingsWindow()->close();
}
