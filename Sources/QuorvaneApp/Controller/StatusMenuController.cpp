#include "Controller/StatusMenuController.h"

#include "Controller/AppController.h"
#include "Controller/AppWindows.h"
#include "Controller/DockCoordinator.h"
#include "Controller/QuitAndUninstall.h"
#include "Shared/Log.h"

#include <QPointer>

#include <algorithm>

namespace quorvane {

StatusMenuController::StatusMenuController(AppController &app, DocumentService &store)
    : m_app(app)
    , m_store(store)
{
    connect(&m_store, &DocumentService::changed, this, &StatusMenuController::rebuild);
}

void StatusMenuController::install()
{
    StatusItem &item = m_app.statusItem();
    m_app.menuBarIcon().install(m_app.statusItemHandle());
    item.setMenu(&m_menu);
    // A status area that draws the menu itself asks for it just before it opens.
    connect(&m_menu, &QMenu::aboutToShow, this, &StatusMenuController::refresh, Qt::UniqueConnection);
    QPointer<StatusMenuController> weak(this);
    item.setOnClick([weak](const StatusItem::Click &click) {
        if (weak)
            weak->statusItemClicked(click);
    });
    item.setVisible(true);
    if (item.isAvailable())
        qCInfo(Log::app()) << "status item shown in the status area";
    // Scrolling over the status item steps through the desktops, where the settings ask for it.
    item.setOnWheel([weak](const StatusItem::Wheel &wheel) {
        if (weak && weak->m_store.document().settings.scrollToCycle)
            weak->m_app.handleScroll(wheel);
    });
}

StatusMenuModel StatusMenuController::modelOf(const Config &config) const
{
    return StatusMenuModel::build(config, m_app.updater().offersUpdates(), m_underWay);
}

void StatusMenuController::rebuild()
{
    const Config config = m_store.document();
    m_model = modelOf(config);
    QPointer<StatusMenuController> weak(this);
    renderStatusMenu(m_model, m_menu, [weak](const StatusMenuItem &item) {
        if (!weak)
            return;
        // A choice made while the menu is open runs once it has closed (a switch may change
        // the menu meanwhile).
        if (weak->m_menuOpen)
            weak->m_pendingChoice = item;
        else
            weak->choose(item);
    });
    showToolTip(config);
}

void StatusMenuController::showToolTip(const Config &config)
{
    // The tool tip names the active desktop, or the switch that has been running for a while.
    const QString &active = config.activeWorkspace;
    const AppInfo &info = m_app.environment().info;
    QString text = active == Config::blankWorkspaceName ? QStringLiteral("Desktop hidden") : active;
    if (m_underWay && m_underWay->longRunning)
        text = switchUnderWayText(*m_underWay);
    m_app.statusItem().setToolTip(info.name.isEmpty() ? QStringLiteral("Quorvane") : info.name, text);
}

void StatusMenuController::refresh()
{
    if (modelOf(m_store.document()) != m_model)
        rebuild();
}

void StatusMenuController::setSwitchUnderWay(std::optional<SwitchUnderWay> underWay)
{
    if (underWay == m_underWay)
        return;
    m_underWay = std::move(underWay);
    rebuild();
}

void StatusMenuController::choose(const StatusMenuItem &item)
{
    switch (item.action) {
    case StatusMenuAction::none:
        break;
    case StatusMenuAction::switchWorkspace: {
        // The item was built from the document as it was when the menu opened: the desktop may
        // have been archived, renamed or deleted since. Only a desktop the document on disk
        // still has live is switched to; otherwise the menu shows the document as it is now.
        const Config config = m_store.document();
        const auto live = config.liveWorkspaces();
        if (item.workspace.isEmpty()
            || std::none_of(live.begin(), live.end(), [&](const Workspace &w) { return w.name == item.workspace; })) {
            qCInfo(Log::app()).noquote()
                << QStringLiteral("the menu offered %1, which the document no longer has: menu rebuilt").arg(item.workspace);
            rebuild();
            break;
        }
        m_app.switchWorkspace(item.workspace);
        break;
    }
    case StatusMenuAction::toggleCollapse:
        m_app.toggleCollapse();
        break;
    case StatusMenuAction::newWorkspace:
        m_app.windows().newWorkspace();
        break;
    case StatusMenuAction::openCalendar:
        m_app.windows().openCalendar();
        break;
    case StatusMenuAction::toggleDock:
        m_app.dock().toggle();
        break;
    case StatusMenuAction::toggleScreenshotFilteringPause:
        m_app.toggleScreenshotFilteringPause();
        break;
    case StatusMenuAction::openSettings:
        m_app.windows().openSettings();
        break;
    case StatusMenuAction::checkForUpdates:
        m_app.updater().checkForUpdates();
        break;
    case StatusMenuAction::quit:
        m_app.quitAndUninstall().quit();
        break;
    }
}

void StatusMenuController::statusItemClicked(const StatusItem::Click &click)
{
    // The middle button runs the carousel; so does Alt with the left button, where the window
    // manager leaves that to the panel.
    if (click.button == StatusItem::Button::middle
        || (click.button == StatusItem::Button::left && click.modifiers.testFlag(Qt::AltModifier))) {
        m_app.cycleOptionClick();
        return;
    }
    m_menuOpen = true;
    m_pendingChoice.reset();
    // The menu shows the document it will act on, whoever changed it last.
    refresh();
    qCDebug(Log::app()) << "status menu opens";
    m_app.statusItem().popUpMenu(m_menu);
    m_menuOpen = false;
    if (const auto item = std::exchange(m_pendingChoice, std::nullopt))
        choose(*item);
}

} // namespace quorvane
