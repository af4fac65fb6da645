#include "Controller/StatusMenuModel.h"

#include "Shared/SymbolIcon.h"
#include "Tray/DBusMenuExporter.h"
#include "Triggers/KeyNames.h"
#include "Windows/LiteralText.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QHash>
#include <QIcon>
#include <QLocale>
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

QString switchUnderWayText(const SwitchUnderWay &underWay)
{
    if (underWay.items < 0)
        return QCoreApplication::translate("StatusMenuModel", "Switching to %1\u2026").arg(underWay.target);
    return QCoreApplication::translate("StatusMenuModel", "Moving %1 items to %2\u2026").arg(QLocale().toString(qlonglong(underWay.items)), underWay.target);
}

StatusMenuModel StatusMenuModel::build(const Config &config, bool updatesOffered, const std::optional<SwitchUnderWay> &underWay)
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

    if (underWay) {
        StatusMenuItem line = actionItem(switchUnderWayText(*underWay), StatusMenuAction::none);
        line.enabled = false;
        line.key = QStringLiteral("underWay");
        items.push_back(line);
        StatusMenuItem below = StatusMenuItem::makeSeparator();
        below.key = QStringLiteral("underWay separator");
        items.push_back(below);
    }

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
        StatusMenuItem count = actionItem(QCoreApplication::translate("StatusMenuModel", "Unsorted desktops: %1").arg(unsorted.size()),
                                          StatusMenuAction::none);
        count.enabled = false;
        count.key = QStringLiteral("unsorted");
        items.push_back(count);
    }
    items.push_back(StatusMenuItem::makeSeparator());

    StatusMenuItem collapse = actionItem(QString(), StatusMenuAction::toggleCollapse);
    collapse.checkable = true;
    if (config.activeWorkspace != Config::blankWorkspaceName) {
        collapse.title = QCoreApplication::translate("StatusMenuModel", "Hide current desktop");
        collapse.checked = false;
    } else if (const auto target = config.expandTarget()) {
        collapse.title = QCoreApplication::translate("StatusMenuModel", "Reopen \u201C%1\u201D").arg(*target);
        collapse.checked = true;
    } else {
        collapse.title = QCoreApplication::translate("StatusMenuModel", "Expand desktop");
        collapse.checked = true;
        collapse.enabled = false;
    }
    items.push_back(withShortcut(collapse, settings.hideDesktopShortcut));

    items.push_back(actionItem(QCoreApplication::translate("StatusMenuModel", "New desktop\u2026"), StatusMenuAction::newWorkspace));
    if (settings.showCleanupCalendarInMenu)
        items.push_back(withShortcut(actionItem(QCoreApplication::translate("StatusMenuModel", "Cleanup calendar"), StatusMenuAction::openCalendar),
                                     settings.openCalendarShortcut));
    if (settings.showFloatingDockInMenu)
        items.push_back(withShortcut(actionItem(QCoreApplication::translate("StatusMenuModel", "Floating dock"), StatusMenuAction::toggleDock),
                                     settings.floatingDockShortcut));
    if (settings.filterScreenshots && settings.showScreenshotPauseInMenu) {
        StatusMenuItem filtering =
            actionItem(QCoreApplication::translate("StatusMenuModel", "Screenshot filtering"), StatusMenuAction::toggleScreenshotFilteringPause);
        filtering.checkable = true;
        filtering.checked = !settings.screenshotFilteringPaused;
        items.push_back(filtering);
    }
    items.push_back(StatusMenuItem::makeSeparator());

    // The settings shortcut is never shown here, even when one is set.
    items.push_back(actionItem(QCoreApplication::translate("StatusMenuModel", "Settings\u2026"), StatusMenuAction::openSettings));
    if (updatesOffered) {
        StatusMenuItem updates = actionItem(QCoreApplication::translate("StatusMenuModel", "Check for Updates\u2026"), StatusMenuAction::checkForUpdates);
        updates.imageSymbol = QStringLiteral("arrow.triangle.2.circlepath");
        updates.imageDescription = QCoreApplication::translate("StatusMenuModel", "Check for Updates");
        updates.iconName = QStringLiteral("view-refresh");
        items.push_back(updates);
    }
    StatusMenuItem quit = actionItem(QCoreApplication::translate("StatusMenuModel", "Quit"), StatusMenuAction::quit);
    quit.imageSymbol = QStringLiteral("xmark");
    quit.imageDescription = QCoreApplication::translate("StatusMenuModel", "Quit");
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

namespace {

// The entry a menu action stands for, kept on it across rebuilds.
const char *const entryProperty = "_quorvane_menu_entry";
const char *const desktopsGroupName = "desktops";

QString entryKey(const StatusMenuItem &item, int separatorIndex)
{
    if (!item.key.isEmpty())
        return item.key;
    if (item.separator)
        return QStringLiteral("separator %1").arg(separatorIndex);
    return QStringLiteral("action %1 %2").arg(int(item.action)).arg(item.workspace);
}

// Sets an action to show the item, touching only what differs (Qt announces each change to the
// menu and to the status area's copy of it).
void showItem(QAction *action, const StatusMenuItem &item, QMenu &menu, QActionGroup *desktops,
              const std::function<void(const StatusMenuItem &)> &onChoose)
{
    // The menu lays out the text after a tab as a right-aligned column past the widest title.
    // An ampersand would mark a mnemonic: a title shows it as written.
    QString text = literalTitle(item.title);
    if (!item.shortcutLabel.isEmpty())
        text += QLatin1Char('\t') + item.shortcutLabel;
    action->setText(text);
    action->setEnabled(item.enabled);
    action->setCheckable(item.checkable);
    // The desktops are one choice: an exclusive group, drawn as radio items.
    QActionGroup *group = item.checkable && item.action == StatusMenuAction::switchWorkspace ? desktops : nullptr;
    if (action->actionGroup() != group)
        action->setActionGroup(group);
    action->setChecked(item.checked);
    if (action->property(SymbolIcon::property).toString() != item.imageSymbol) {
        action->setIcon(item.imageSymbol.isEmpty() ? QIcon() : SymbolIcon::icon(item.imageSymbol));
        action->setProperty(SymbolIcon::property, item.imageSymbol.isEmpty() ? QVariant() : QVariant(item.imageSymbol));
    }
    action->setIconText(item.imageDescription);
    // What a panel that draws the menu itself shows: the icon by its freedesktop name (the
    // shortcut goes with the title's text, in the order the settings show it). A dynamic property
    // changes silently; the action's data carries it, so that a change is announced.
    action->setProperty(DBusMenuExporter::iconNameProperty, item.iconName.isEmpty() ? QVariant() : QVariant(item.iconName));
    action->setData(item.iconName);

    // The choice carries the item as it is now.
    QObject::disconnect(action, &QAction::triggered, &menu, nullptr);
    QObject::disconnect(action, &QAction::triggered, action, nullptr);
    // A click toggles a checkable action by itself; the mark shows the document, which a
    // choice that changes nothing (the active desktop) leaves as it was.
    if (item.checkable) {
        QObject::connect(action, &QAction::triggered, action, [action, checked = item.checked] {
            action->setChecked(checked);
        });
    }
    if (item.action != StatusMenuAction::none) {
        QObject::connect(action, &QAction::triggered, &menu, [onChoose, item] {
            onChoose(item);
        });
    }
}

} // namespace

void renderStatusMenu(const StatusMenuModel &model, QMenu &menu,
                      const std::function<void(const StatusMenuItem &)> &onChoose)
{
    // The actions the menu has, by the entry they stand for; any other action goes.
    QHash<QString, QAction *> kept;
    QList<QAction *> stale;
    for (QAction *action : menu.actions()) {
        const QString key = action->property(entryProperty).toString();
        if (key.isEmpty() || action->parent() != &menu || kept.contains(key))
            stale.append(action);
        else
            kept.insert(key, action);
    }
    auto *desktops = menu.findChild<QActionGroup *>(QLatin1String(desktopsGroupName), Qt::FindDirectChildrenOnly);
    if (!desktops) {
        desktops = new QActionGroup(&menu);
        desktops->setObjectName(QLatin1String(desktopsGroupName));
        desktops->setExclusive(true);
    }

    QList<QAction *> wanted;
    int separators = 0;
    for (const StatusMenuItem &item : model.items) {
        const QString key = entryKey(item, item.separator && item.key.isEmpty() ? separators++ : 0);
        QAction *action = kept.take(key);
        if (!action) {
            action = new QAction(&menu);
            action->setProperty(entryProperty, key);
            action->setSeparator(item.separator);
        }
        if (!item.separator)
            showItem(action, item, menu, desktops, onChoose);
        wanted.append(action);
    }

    // Entries that went leave the menu, then those that came take their places.
    stale += kept.values();
    for (QAction *action : stale) {
        menu.removeAction(action);
        if (action->parent() == &menu)
            delete action;
    }
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QList<QAction *> actions = menu.actions();
        if (actions.value(i) != wanted[i])
            menu.insertAction(actions.value(i), wanted[i]);
    }
}

} // namespace quorvane
