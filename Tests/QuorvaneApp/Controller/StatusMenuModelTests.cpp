#include "Controller/StatusMenuModel.h"
#include "Tray/DBusMenuExporter.h"
#include "Triggers/KeyNames.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace quorvane;

namespace {

const QString pad(5, QChar(0x00A0));

Workspace desk(const QString &name, WorkspaceState state = WorkspaceState::active)
{
    Workspace workspace = Workspace::make(name);
    workspace.state = state;
    return workspace;
}

Config document(const QString &active, std::vector<Workspace> desks)
{
    Config config;
    config.activeWorkspace = active;
    config.workspaces = std::move(desks);
    config.workspaces.push_back(Workspace::make(Config::blankWorkspaceName));
    return config;
}

// Titles without the padding, to compare structure.
QStringList bare(const StatusMenuModel &model)
{
    QStringList titles = model.titles();
    for (QString &title : titles) {
        if (title.endsWith(pad))
            title.chop(pad.size());
    }
    return titles;
}

// The menu's actions, each followed: one that is deleted reads as null, never as a new action
// that happens to take its place in memory.
QList<QPointer<QAction>> tracked(const QList<QAction *> &actions)
{
    return {actions.begin(), actions.end()};
}

const StatusMenuItem *find(const StatusMenuModel &model, StatusMenuAction action)
{
    for (const StatusMenuItem &item : model.items) {
        if (item.action == action)
            return &item;
    }
    return nullptr;
}

} // namespace

TEST(StatusMenuModel, NoDesktopsOnTheBlankDesktopOffersADisabledCheckedExpand)
{
    const StatusMenuModel model = StatusMenuModel::build(document(Config::blankWorkspaceName, {}), true);
    EXPECT_EQ(bare(model), (QStringList{"", "Expand desktop", u"New desktop\u2026"_qs, "Cleanup calendar", "Floating dock", "", u"Settings\u2026"_qs, u"Check for Updates\u2026"_qs, "Quit"}));
    const StatusMenuItem *expand = find(model, StatusMenuAction::toggleCollapse);
    ASSERT_NE(expand, nullptr);
    EXPECT_TRUE(expand->checked);
    EXPECT_FALSE(expand->enabled);
    EXPECT_EQ(find(model, StatusMenuAction::quit)->imageSymbol, "xmark");
    EXPECT_EQ(find(model, StatusMenuAction::quit)->imageDescription, "Quit");
    EXPECT_EQ(find(model, StatusMenuAction::checkForUpdates)->imageSymbol, "arrow.triangle.2.circlepath");
}

TEST(StatusMenuModel, TheThirdBlockFollowsTheActiveDesktopAndTheExpandTarget)
{
    struct Case {
        QString active;
        std::optional<QString> lastExpanded;
        WorkspaceState bState;
        QString title;
        bool checked;
    };
    const std::vector<Case> cases{
        {"A", std::nullopt, WorkspaceState::active, "Hide current desktop", false},
        {Config::blankWorkspaceName, QString("B"), WorkspaceState::active, u"Reopen \u201CB\u201D"_qs, true},
        // The last expanded desktop was archived since: the first live desktop instead.
        {Config::blankWorkspaceName, QString("B"), WorkspaceState::archivedSorted, u"Reopen \u201CA\u201D"_qs, true},
        {Config::blankWorkspaceName, std::nullopt, WorkspaceState::active, u"Reopen \u201CA\u201D"_qs, true},
    };
    for (const Case &c : cases) {
        Config config = document(c.active, {desk("A"), desk("B", c.bState)});
        config.lastExpandedWorkspace = c.lastExpanded;
        const StatusMenuModel model = StatusMenuModel::build(config, true);
        const StatusMenuItem *item = find(model, StatusMenuAction::toggleCollapse);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->title, c.title + pad) << c.title.toStdString();
        EXPECT_EQ(item->checked, c.checked);
        EXPECT_TRUE(item->enabled);
        int collapseItems = 0;
        for (const auto &i : model.items)
            collapseItems += i.action == StatusMenuAction::toggleCollapse;
        EXPECT_EQ(collapseItems, 1);
    }
}

TEST(StatusMenuModel, LiveDesktopsComeFirstWithTheActiveOneCheckedThenTheUnsortedCount)
{
    Config config = document("B", {desk("A"), desk("B"), desk("Old1", WorkspaceState::archivedUnsorted), desk("Old2", WorkspaceState::archivedUnsorted), desk("Done", WorkspaceState::archivedSorted), desk("Old3", WorkspaceState::archivedUnsorted)});
    const StatusMenuModel model = StatusMenuModel::build(config, false);
    EXPECT_EQ(bare(model).mid(0, 6), (QStringList{"A", "B", "", "Unsorted desktops: 3", "", "Hide current desktop"}));
    EXPECT_EQ(model.items[0].workspace, "A");
    EXPECT_EQ(model.items[0].action, StatusMenuAction::switchWorkspace);
    EXPECT_FALSE(model.items[0].checked);
    EXPECT_TRUE(model.items[1].checked);
    EXPECT_FALSE(model.items[3].enabled);
    EXPECT_EQ(model.items[3].action, StatusMenuAction::none);
    // A bare executable has no identifier: no update item.
    EXPECT_EQ(find(model, StatusMenuAction::checkForUpdates), nullptr);
}

TEST(StatusMenuModel, WithoutTheShortcutColumnEveryTitleIsPaddedWithFiveNoBreakSpaces)
{
    Config config = document("A", {desk("A")});
    config.workspaces[0].hotkey = HotKeySpec{18, HotKeySpec::command};
    const StatusMenuModel model = StatusMenuModel::build(config, true);
    for (const StatusMenuItem &item : model.items) {
        if (item.separator) {
            EXPECT_TRUE(item.title.isEmpty());
        } else {
            EXPECT_TRUE(item.title.endsWith(pad)) << item.title.toStdString();
            EXPECT_FALSE(item.title.endsWith(QChar(0x00A0) + pad));
            EXPECT_TRUE(item.shortcutLabel.isEmpty());
        }
    }
}

TEST(StatusMenuModel, TheShortcutColumnShowsOnlyTheMenusOwnShortcuts)
{
    Config config = document("A", {desk("A"), desk("B")});
    config.settings.showShortcutsInMenu = true;
    // Nothing shown has a shortcut: titles stay exactly as they are.
    config.settings.openSettingsShortcut = HotKeySpec{43, HotKeySpec::command};
    config.settings.cycleNext = HotKeySpec{124, HotKeySpec::control};
    StatusMenuModel model = StatusMenuModel::build(config, true);
    for (const StatusMenuItem &item : model.items) {
        EXPECT_FALSE(item.title.contains(QChar(0x00A0)));
        EXPECT_TRUE(item.shortcutLabel.isEmpty()) << item.title.toStdString();
    }

    config.workspaces[1].hotkey = HotKeySpec{36, HotKeySpec::control | HotKeySpec::option};
    config.settings.hideDesktopShortcut = HotKeySpec{53, HotKeySpec::shift | HotKeySpec::command};
    model = StatusMenuModel::build(config, true);
    EXPECT_EQ(model.items[1].title, "B");
    EXPECT_EQ(model.items[1].shortcutLabel, u"Ctrl+Alt+"_qs + keyName(36));
    EXPECT_EQ(find(model, StatusMenuAction::toggleCollapse)->shortcutLabel, u"Shift+Super+"_qs + keyName(53));
    EXPECT_TRUE(find(model, StatusMenuAction::openSettings)->shortcutLabel.isEmpty());
}

TEST(StatusMenuModel, ScreenshotFilteringNeedsBothSettingsAndIsCheckedWhileRunning)
{
    struct Case {
        bool filter, showPause, paused;
        bool present, checked;
    };
    for (const Case &c : {Case{true, true, false, true, true}, Case{true, true, true, true, false},
                          Case{true, false, false, false, false}, Case{false, true, false, false, false}}) {
        Config config = document("A", {desk("A")});
        config.settings.filterScreenshots = c.filter;
        config.settings.showScreenshotPauseInMenu = c.showPause;
        config.settings.screenshotFilteringPaused = c.paused;
        config.settings.showCleanupCalendarInMenu = false;
        config.settings.showFloatingDockInMenu = false;
        const StatusMenuModel model = StatusMenuModel::build(config, true);
        const StatusMenuItem *item = find(model, StatusMenuAction::toggleScreenshotFilteringPause);
        ASSERT_EQ(item != nullptr, c.present);
        if (item) {
            EXPECT_EQ(item->checked, c.checked);
        }
        EXPECT_EQ(find(model, StatusMenuAction::openCalendar), nullptr);
        EXPECT_EQ(find(model, StatusMenuAction::toggleDock), nullptr);
    }
}

TEST(StatusMenuModel, RenderingPutsEveryItemIntoTheMenuAndReportsTheChoice)
{
    Config config = document("A", {desk("A"), desk("R&D")});
    config.settings.showShortcutsInMenu = true;
    config.workspaces[1].hotkey = HotKeySpec{36, HotKeySpec::command};
    const StatusMenuModel model = StatusMenuModel::build(config, true);
    QMenu menu;
    menu.addAction("stale");
    std::vector<StatusMenuItem> chosen;
    renderStatusMenu(model, menu, [&](const StatusMenuItem &item) { chosen.push_back(item); });

    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), qsizetype(model.items.size()));
    EXPECT_EQ(actions[0]->text(), "A");
    EXPECT_TRUE(actions[0]->isChecked());
    EXPECT_EQ(actions[1]->text(), "R&&D\t" + u"Super+"_qs + keyName(36));
    EXPECT_FALSE(actions[1]->isChecked());
    EXPECT_TRUE(actions[2]->isSeparator());
    for (qsizetype i = 0; i < actions.size(); ++i)
        EXPECT_EQ(actions[i]->isEnabled(), model.items[size_t(i)].enabled);

    actions[1]->trigger();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].action, StatusMenuAction::switchWorkspace);
    EXPECT_EQ(chosen[0].workspace, "R&D");
    actions.back()->trigger();
    EXPECT_EQ(chosen.back().action, StatusMenuAction::quit);
}

// A rebuild keeps every entry's action: an open menu stays open while its marks change in place,
// and only the line of a switch under way comes and goes. The desktop left keeps its mark until
// the switch has ended; a choice carries its item as it is now.
TEST(StatusMenuModel, ARebuildUpdatesTheOpenMenuInPlace)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Config config = document("A", {desk("A"), desk("Work")});
    QMenu menu;
    std::vector<StatusMenuItem> chosen;
    const auto render = [&](const std::optional<SwitchUnderWay> &underWay = std::nullopt) {
        renderStatusMenu(StatusMenuModel::build(config, false, underWay), menu,
                         [&](const StatusMenuItem &item) { chosen.push_back(item); });
    };
    render();
    // What an earlier test of this process left to the event loop (a closed window's deferred
    // deletion, which activates another window and so closes a popup) is done first.
    QTest::qWait(100);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    const QList<QPointer<QAction>> idle = tracked(menu.actions());

    render(SwitchUnderWay{"Work", 12000});
    const QList<QAction *> moving = menu.actions();
    ASSERT_EQ(tracked(moving.mid(2)), idle);
    EXPECT_EQ(moving[0]->text(), u"Moving 12,000 items to Work…"_qs + pad);
    EXPECT_FALSE(moving[0]->isEnabled());
    EXPECT_TRUE(idle[0]->isChecked());

    config.activeWorkspace = "Work";
    render();
    ASSERT_EQ(tracked(menu.actions()), idle);
    EXPECT_FALSE(idle[0]->isChecked());
    EXPECT_TRUE(idle[1]->isChecked());
    QTest::qWait(50);
    EXPECT_TRUE(menu.isVisible());
    idle[1]->trigger();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_TRUE(chosen[0].checked);
    EXPECT_TRUE(idle[1]->isChecked());
    QLocale::setDefault(before);
}

// A status area drawing the menu from the bus: the entries keep their ids across rebuilds, a
// change of marks and a shortcut gone are sent as changed properties, and the line of a switch is
// a new entry beside the kept ones. The shortcut travels in the label, in the settings' order.
TEST(StatusMenuModel, AStatusAreaDrawingTheMenuKeepsItsIdsAndHearsWhatChanged)
{
    Config config = document("A", {desk("A"), desk("Work")});
    config.settings.showShortcutsInMenu = true;
    config.workspaces[1].hotkey = HotKeySpec{18, HotKeySpec::shift | HotKeySpec::option};
    QMenu menu;
    const auto render = [&](const std::optional<SwitchUnderWay> &underWay = std::nullopt) {
        renderStatusMenu(StatusMenuModel::build(config, false, underWay), menu, [](const StatusMenuItem &) {});
    };
    render();
    DBusMenuExporter exporter;
    exporter.setMenu(&menu);
    const auto ids = [&] {
        DBusMenuLayoutItem layout;
        exporter.GetLayout(0, -1, {}, layout);
        QList<int> result;
        for (const DBusMenuLayoutItem &child : layout.children)
            result << child.id;
        return result;
    };
    const QList<int> idle = ids();
    DBusMenuLayoutItem first;
    exporter.GetLayout(0, -1, {}, first);
    EXPECT_EQ(first.children[1].properties["label"], "Work\tAlt+Shift+" + keyName(18));
    EXPECT_FALSE(first.children[1].properties.contains("shortcut"));
    QSignalSpy layouts(&exporter, &DBusMenuExporter::LayoutUpdated);
    QSignalSpy properties(&exporter, &DBusMenuExporter::ItemsPropertiesUpdated);
    ASSERT_TRUE(layouts.wait()); // the first menu's announcement
    layouts.clear();

    config.activeWorkspace = "Work";
    config.workspaces[1].hotkey.reset();
    render();
    ASSERT_TRUE(properties.wait());
    EXPECT_EQ(layouts.count(), 0);
    EXPECT_EQ(ids(), idle);
    std::map<int, QVariantMap> updated;
    for (const DBusMenuItemProperties &item : properties[0][0].value<QList<DBusMenuItemProperties>>())
        updated[item.id] = item.properties;
    EXPECT_EQ(updated[idle[0]]["toggle-state"], 0);
    EXPECT_EQ(updated[idle[1]]["toggle-state"], 1);
    EXPECT_EQ(updated[idle[1]]["label"], "Work");

    render(SwitchUnderWay{"A", 3});
    ASSERT_TRUE(layouts.wait());
    EXPECT_EQ(ids().mid(2), idle);
}
