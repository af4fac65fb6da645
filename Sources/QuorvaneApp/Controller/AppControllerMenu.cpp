// The status menu: rebuilt from the stored document, opened by a click on the status item,
// and the actions of its items.
#include "Controller/AppController.h"

#include "Controller/MainMenu.h"
#include "PreferenceReader.h"
#include "Triggers/SystemHotCorners.h"

#include "ActivationPolicy.h"
#include "Calendar/CalendarWindowController.h"
#include "Calendar/CreateWorkspaceWindowController.h"
#include "Overlays/CueImageCache.h"
#include "Overlays/SystemAppearance.h"
#include "QtDialogs.h"
#include "Settings/SettingsModel.h"
#include "Settings/SettingsWindowController.h"
#include "SettingsViews/SettingsView.h"
#include "Shared/Log.h"

#include <QPointer>

#include <algorithm>

namespace quorvane {

void AppController::rebuildMenu()
{
    const Config config = loadOrDefault();
    m_menuModel = StatusMenuModel::build(config, m_updater.offersUpdates());
    QPointer<AppController> weak(this);
    renderStatusMenu(m_menuModel, m_menu, [weak](const StatusMenuItem &item) {
        if (!weak)
            return;
        // While the menu is open its actions must stay alive: the choice runs once it has
        // closed (a switch rebuilds the menu).
        if (weak->m_menuOpen)
            weak->m_pendingChoice = item;
        else
            weak->choose(item);
    });
    // The tool tip names the active desktop.
    const QString &active = config.activeWorkspace;
    m_statusItem->setToolTip(m_env.info.name.isEmpty() ? QStringLiteral("Quorvane") : m_env.info.name,
                             active == Config::blankWorkspaceName ? QStringLiteral("Desktop hidden") : active);
}

void AppController::refreshMenu()
{
    if (StatusMenuModel::build(loadOrDefault(), m_updater.offersUpdates()) != m_menuModel)
        rebuildMenu();
}

void AppController::choose(const StatusMenuItem &item)
{
    switch (item.action) {
    case StatusMenuAction::none:
        break;
    case StatusMenuAction::switchWorkspace: {
        // The item was built from the document as it was when the menu opened: the desktop may
        // have been archived, renamed or deleted since. Only a desktop the document on disk
        // still has live is switched to; otherwise the menu shows the document as it is now.
        const Config config = loadOrDefault();
        const auto live = config.liveWorkspaces();
        if (item.workspace.isEmpty()
            || std::none_of(live.begin(), live.end(), [&](const Workspace &w) { return w.name == item.workspace; })) {
            qCInfo(Log::app()).noquote()
                << QStringLiteral("the menu offered %1, which the document no longer has: menu rebuilt").arg(item.workspace);
            rebuildMenu();
            break;
        }
        switchWorkspace(item.workspace);
        break;
    }
    case StatusMenuAction::toggleCollapse:
        toggleCollapse();
        break;
    case StatusMenuAction::newWorkspace:
        newWorkspace();
        break;
    case StatusMenuAction::openCalendar:
        openCalendar();
        break;
    case StatusMenuAction::toggleDock:
        toggleDock();
        break;
    case StatusMenuAction::toggleScreenshotFilteringPause:
        toggleScreenshotFilteringPause();
        break;
    case StatusMenuAction::openSettings:
        openSettings();
        break;
    case StatusMenuAction::checkForUpdates:
        m_updater.checkForUpdates();
        break;
    case StatusMenuAction::quit:
        quit();
        break;
    }
}

void AppController::statusItemClicked(const StatusItem::Click &click)
{
    // The middle button runs the carousel; so does Alt with the left button, where the window
    // manager leaves that to the panel.
    if (click.button == StatusItem::Button::middle
        || (click.button == StatusItem::Button::left && click.modifiers.testFlag(Qt::AltModifier))) {
        cycleOptionClick();
        return;
    }
    m_menuOpen = true;
    m_pendingChoice.reset();
    // The menu shows the document it will act on, whoever changed it last.
    refreshMenu();
    m_statusItem->popUpMenu(m_menu);
    m_menuOpen = false;
    if (const auto item = std::exchange(m_pendingChoice, std::nullopt))
        choose(*item);
}

// The next stop of the carousel: its stops that are live, else the switchable desktops.
void AppController::cycleOptionClick()
{
    const Config config = loadOrDefault();
    QStringList live;
    for (const Workspace &workspace : config.liveWorkspaces())
        live << workspace.name;
    QStringList ring;
    for (const QString &name : config.settings.optionClickCarousel) {
        if (live.contains(name))
            ring << name;
    }
    if (ring.isEmpty()) {
        for (const Workspace &workspace : config.switchableWorkspaces())
            ring << workspace.name;
    }
    if (ring.isEmpty())
        return;
    const qsizetype index = ring.indexOf(config.activeWorkspace);
    const QString target = index >= 0 ? ring[(index + 1) % ring.size()] : ring.front();
    if (target != config.activeWorkspace)
        performSwitch(target, true);
}

void AppController::cycle(int step)
{
    const Config config = loadOrDefault();
    QStringList ring;
    for (const Workspace &workspace : config.switchableWorkspaces())
        ring << workspace.name;
    if (ring.isEmpty())
        return;
    const qsizetype n = ring.size();
    const qsizetype index = ring.indexOf(config.activeWorkspace);
    QString target;
    if (index >= 0)
        target = ring[((index + step) % n + n) % n];
    else
        target = step < 0 ? ring.back() : ring.front();
    performSwitch(target, true);
}

void AppController::switchToLastDesktop()
{
    if (!previousWorkspace)
        return;
    const QString previous = *previousWorkspace;
    const Config config = loadOrDefault();
    if (previous == config.activeWorkspace)
        return;
    if (previous == Config::blankWorkspaceName) {
        performSwitch(previous, true);
        return;
    }
    // Archived, renamed or deleted since: nothing to go back to.
    for (const Workspace &workspace : config.liveWorkspaces()) {
        if (workspace.name == previous) {
            performSwitch(workspace.name, true);
            return;
        }
    }
}

void AppController::switchWorkspace(const QString &name)
{
    if (name.isEmpty())
        return;
    performSwitch(name, true);
}

void AppController::toggleCollapse()
{
    const Config config = loadOrDefault();
    if (config.activeWorkspace == Config::blankWorkspaceName) {
        if (const auto target = config.expandTarget())
            performSwitch(*target, true);
        return;
    }
    editQuietly([&](Config &changed) { changed.lastExpandedWorkspace = config.activeWorkspace; });
    performSwitch(Config::blankWorkspaceName, true);
}

void AppController::newWorkspace()
{
    SettingsModel &model = ensureSettingsModel();
    model.reload();
    m_createWindow = std::make_unique<CreateWorkspaceWindowController>(model, dialogs());
    m_createWindow->onClose = accessoryOnClose();
    presentOwnWindow(m_createWindow->window());
    CreateWorkspaceWindowController::placeNearMenuBar(m_createWindow->window());
    m_createWindow->showWindow();
}

void AppController::openCalendar()
{
    SettingsModel &model = ensureSettingsModel();
    model.reload();
    CalendarWindowController::show(model, m_env.activation);
}

void AppController::toggleDock()
{
    toggleFloatingDock();
}

void AppController::toggleScreenshotFilteringPause()
{
    editQuietly([](Config &config) { config.settings.screenshotFilteringPaused = !config.settings.screenshotFilteringPaused; });
    rebuildMenu();
    if (m_settingsModel)
        m_settingsModel->reload();
}

void AppController::openSettings()
{
    SettingsModel &model = ensureSettingsModel();
    model.reload();
    if (!m_settingsWindow) {
        SettingsViewServices services;
        services.dialogs = m_env.dialogs;
        services.scheduler = m_env.scheduler;
        services.info = m_env.info;
        services.desktop = m_env.desktop;
        services.loginItem = m_env.loginItem;
        services.showCreateSurface = [this] { newWorkspace(); };
        services.spaces = &m_spaceIdentifier;
        services.showCalendar = [this] { openCalendar(); };
        services.cues = &CueImageCache::shared();
        services.hotCornerOccupant = [](FloatingDockCorner corner) {
            static LinuxPreferenceReader session; // the session's own hot corners
            return SystemHotCorners::occupant(session, corner);
        };
        services.shortcutLimit = m_env.shortcutLimit;
        services.themeWithoutDark = [this] { return appearance().themeWithoutDarkVariant(); };
        services.cueBelowIconsUnavailable = [this] { return m_background.belowIconsUnavailable(); };
        m_settingsWindow = std::make_unique<SettingsWindowController>(model, [services](SettingsModel &m) -> QWidget * {
            if (!services.scheduler)
                return nullptr;
            return new SettingsView(m, services);
        });
        m_settingsWindow->onClose = accessoryOnClose();
    }
    presentOwnWindow(m_settingsWindow->window());
    m_settingsWindow->showWindow();
}

QWidget *AppController::openSettingsWindow() const
{
    return m_settingsWindow ? m_settingsWindow->window() : nullptr;
}

void AppController::presentOwnWindow(QWidget *window)
{
    MainMenu::install(window, m_env.info); // once per window
    m_env.activation->setMode(ActivationPolicy::Mode::regular);
    m_env.activation->activate();
}

Dialogs &AppController::dialogs()
{
    if (m_env.dialogs)
        return *m_env.dialogs;
    static QtDialogs standard;
    return standard;
}

std::function<void()> AppController::accessoryOnClose() const
{
    ActivationPolicy *activation = m_env.activation;
    return [activation] { activation->setMode(ActivationPolicy::Mode::accessory); };
}

void AppController::quit()
{
    if (m_env.terminate)
        m_env.terminate();
}

} // namespace quorvane
