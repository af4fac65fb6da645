#include "Controller/StatusMenuModel.h"

#include "DBusMenuExporter.h"
#include "LiteralText.h"
#include "Shared/SymbolIcon.h"
#include "Triggers/KeyNames.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>

namespace quorvane {

namespace {

StatusMenuItem actionItem(const QString &title, StatusMenuAction action)
{
    StatusMenuItem item;
    item.title = title;
    item.action = action;
    return item;
}

} // namespace

StatusMenuModel StatusMenuModel::build(const Config &config, bool updatesOffered)
{
    const AppSettings &settings = config.settings;
    const bool showShortcutColumn = settings.showShortcutsInMenu;
    const auto withShortcut = [&](StatusMenuItem item, const std::optional<HotKeySpec> &spec) {
        if (showShortcutColumn && spec)
            item.shortcut = spec;
        return item;
    };

    StatusMenuModel model;
    auto &items = model.items;

    for (const Workspace &workspace : config.liveWorkspaces()) {
        StatusMenuItem item = actionItem(workspace.name, StatusMenuAction::switchWorkspace);
        item.workspace = workspace.name;
        item.checkable = true;
        item.checked = workspace.name == config.activeWorkspace;
        items.push_back(withShortcut(item, workspace.hotkey));
    }

    const auto unsorted = config.unsortedWorkspaces();
    if (!unsorted.empty()) {
        items.push_back(StatusMenuItem::makeSeparator());
        StatusMenuItem count = actionItem(QStringLiteral("Unsorted desktops: ") + QString::number(unsorted.size()),
                                          StatusMenuAction::none);
        count.enabled = false;
        items.push_back(count);
    }
    items.push_back(StatusMenuItem::makeSeparator());

    StatusMenuItem collapse = actionItem(QString(), StatusMenuAction::toggleCollapse);
    collapse.checkable = true;
    if (config.activeWorkspace != Config::blankWorkspaceName) {
        collapse.title = QStringLiteral("Hide current desktop");
        collapse.checked = false;
    } else if (const auto target = config.expandTarget()) {
        collapse.title = QStringLiteral("Reopen \u201C") + *target + QStringLiteral("\u201D");
        collapse.checked = true;
    } else {
        collapse.title = QStringLiteral("Expand desktop");
        collapse.checked = true;
        collapse.enabled = false;
    }
    items.push_back(withShortcut(collapse, settings.hideDesktopShortcut));

    items.push_back(actionItem(QStringLiteral("New desktop\u2026"), StatusMenuAction::newWorkspace));
    if (settings.showCleanupCalendarInMenu)
        items.push_back(withShortcut(actionItem(QStringLiteral("Cleanup calendar"), StatusMenuAction::openCalendar),
                                     settings.openCalendarShortcut));
    if (settings.showFloatingDockInMenu)
        items.push_back(withShortcut(actionItem(QStringLiteral("Floating dock"), StatusMenuAction::toggleDock),
                                     settings.floatingDockShortcut));
    if (settings.filterScreenshots && settings.showScreenshotPauseInMenu) {
        StatusMenuItem filtering =
            actionItem(QStringLiteral("Screenshot filtering"), StatusMenuAction::toggleScreenshotFilteringPause);
        filtering.checkable = true;
        filtering.checked = !settings.screenshotFilteringPaused;
        items.push_back(filtering);
    }
    items.push_back(StatusMenuItem::makeSeparator());

    // The settings shortcut is never shown here, even when one is set.
    items.push_back(actionItem(QStringLiteral("Settings\u2026"), StatusMenuAction::openSettings));
    if (updatesOffered) {
        StatusMenuItem updates = actionItem(QStringLiteral("Check for Updates\u2026"), StatusMenuAction::checkForUpdates);
        updates.imageSymbol = QStringLiteral("arrow.triangle.2.circlepath");
        updates.imageDescription = QStringLiteral("Check for Updates");
        updates.iconName = QStringLiteral("view-refresh");
        items.push_back(updates);
    }
    StatusMenuItem quit = actionItem(QStringLiteral("Quit"), StatusMenuAction::quit);
    quit.imageSymbol = QStringLiteral("xmark");
    quit.imageDescription = QStringLiteral("Quit");
    quit.iconName = QStringLiteral("application-exit");
    items.push_back(quit);

    if (showShortcutColumn)
        model.showShortcuts(shortcutLabel);
    else
        model.padTitles();
    return model;
}

void StatusMenuModel::showShortcuts(const std::function<QString(const HotKeySpec &)> &label)
{
    for (StatusMenuItem &item : items) {
        if (item.shortcut)
            item.shortcutLabel = label(*item.shortcut);
    }
}

void StatusMenuModel::padTitles()
{
    const QString padding(paddingSpaces, QChar(0x00A0));
    for (StatusMenuItem &item : items) {
        if (!item.separator && !item.title.isEmpty())
            item.title += padding;
    }
}

QStringList StatusMenuModel::titles() const
{
    QStringList result;
    for (const StatusMenuItem &item : items)
        result << (item.separator ? QString() : item.title);
    return result;
}

QString shortcutLabel(const HotKeySpec &spec)
{
    return shortcutText(spec);
}

QStringList shortcutKeys(const HotKeySpec &spec)
{
    QStringList keys;
    if (spec.modifiers & HotKeySpec::control)
        keys << QStringLiteral("Control");
    if (spec.modifiers & HotKeySpec::option)
        keys << QStringLiteral("Alt");
    if (spec.modifiers & HotKeySpec::shift)
        keys << QStringLiteral("Shift");
    if (spec.modifiers & HotKeySpec::command)
        keys << QStringLiteral("Super");
    keys << keyName(spec.keyCode);
    return keys;
}

void renderStatusMenu(const StatusMenuModel &model, QMenu &menu,
                      const std::function<void(const StatusMenuItem &)> &onChoose)
{
    menu.clear();
    qDeleteAll(menu.findChildren<QActionGroup *>(QString(), Qt::FindDirectChildrenOnly));
    // The desktops are one choice: an exclusive group, drawn as radio items.
    QActionGroup *desktops = nullptr;
    for (const StatusMenuItem &item : model.items) {
        if (item.separator) {
            menu.addSeparator();
            desktops = nullptr;
            continue;
        }
        // The menu lays out the text after a tab as a right-aligned column past the widest title.
        // An ampersand would mark a mnemonic: a title shows it as written.
        QString text = literalTitle(item.title);
        if (!item.shortcutLabel.isEmpty())
            text += QLatin1Char('\t') + item.shortcutLabel;
        QAction *action = menu.addAction(text);
        action->setEnabled(item.enabled);
        action->setCheckable(item.checkable);
        if (item.checkable && item.action == StatusMenuAction::switchWorkspace) {
            if (!desktops) {
                desktops = new QActionGroup(&menu);
                desktops->setExclusive(true);
            }
            desktops->addAction(action);
        }
        action->setChecked(item.checked);
        // A click toggles a checkable action by itself; the mark shows the document, which a
        // choice that changes nothing (the active desktop) leaves as it was.
        if (item.checkable) {
            QObject::connect(action, &QAction::triggered, action, [action, checked = item.checked] {
                action->setChecked(checked);
            });
        }
        if (!item.imageSymbol.isEmpty()) {
            action->setIcon(SymbolIcon::icon(item.imageSymbol));
            action->setProperty(SymbolIcon::property, item.imageSymbol);
            action->setIconText(item.imageDescription);
        }
        // What a panel that draws the menu itself shows: the icon by its freedesktop name and the
        // shortcut as keys (the column after the tab is this menu's own).
        if (!item.iconName.isEmpty())
            action->setProperty(DBusMenuExporter::iconNameProperty, item.iconName);
        if (item.shortcut && !item.shortcutLabel.isEmpty())
            action->setProperty(DBusMenuExporter::shortcutProperty, shortcutKeys(*item.shortcut));
        if (item.action != StatusMenuAction::none) {
            QObject::connect(action, &QAction::triggered, &menu, [onChoose, item] {
                onChoose(item);
            });
        }
    }
}

} // namespace quorvane
