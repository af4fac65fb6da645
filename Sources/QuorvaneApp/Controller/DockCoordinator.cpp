#include "Controller/DockCoordinator.h"

#include "Controller/AppController.h"
#include "Controller/DropMove.h"
#include "Settings/SettingsModel.h"
#include "Shared/DocumentService.h"
#include "Shared/Log.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>

namespace quorvane {

DockCoordinator::DockCoordinator(AppController &app, DocumentService &store)
    : QObject(nullptr)
    , m_app(app)
    , m_store(store)
{
    connect(&m_store, &DocumentService::changed, this, &DockCoordinator::reload);
}

void DockCoordinator::connectComponents()
{
    QPointer<DockCoordinator> weak(this);
    m_app.floatingDock().onSwitch = [weak](const QString &name) {
        if (weak)
            weak->tileClicked(name);
    };
    m_app.floatingDock().onDrop = [weak](const QList<QUrl> &urls, const QString &name) {
        if (weak)
            weak->handleDrop(urls, name);
    };
    m_app.floatingDock().onMove = [weak](const FloatingDockPosition &position) {
        if (weak)
            weak->moved(position);
    };
    m_app.cornerWatcher().onTrigger = [weak] {
        if (weak)
            weak->cornerTriggered();
    };
}

namespace {

std::vector<DockSurface> dockSurfaces(const Config &config, const QString &workspacesRoot)
{
    std::vector<DockSurface> surfaces;
    for (const Workspace &workspace : config.liveWorkspaces())
        surfaces.push_back({workspace.name, workspace.colorHex, workspacesRoot + QLatin1Char('/') + workspace.name,
                            workspace.name == config.activeWorkspace});
    return surfaces;
}

QString dockAccent(const Config &config)
{
    if (config.settings.appearance.accentHex)
        return *config.settings.appearance.accentHex;
    return QGuiApplication::palette().color(QPalette::Highlight).name(QColor::HexRgb).toUpper();
}

std::optional<FloatingDockPosition> savedDockPosition(const AppSettings &settings)
{
    return settings.floatingDockRememberPosition ? settings.floatingDockPosition : std::nullopt;
}

bool isLive(const Config &config, const QString &name)
{
    for (const Workspace &workspace : config.liveWorkspaces()) {
        if (workspace.name == name)
            return true;
    }
    return false;
}

} // namespace

void DockCoordinator::applySettings(const Config &config)
{
    const AppSettings &settings = config.settings;
    m_app.floatingDock().setFlipDuration(settings.floatingDockFastTransition ? 0.12 : 0.45);
    m_app.floatingDock().model().setColorFolders(settings.floatingDockColorFolders);
    m_app.floatingDock().model().setMaterial(settings.floatingDockMaterial);
    m_app.floatingDock().setAppearance(settings.floatingDockAppearance);
    m_app.floatingDock().setAxis(settings.floatingDockAxis);
    m_app.floatingDock().model().setSize(settings.floatingDockSize);
    m_app.floatingDock().model().setShowFlipButtons(settings.floatingDockShowFlipButtons);
}

bool DockCoordinator::shownHere() const
{
    return m_app.floatingDock().wantsVisible() && !m_app.floatingDock().isParkedElsewhere();
}

void DockCoordinator::reload()
{
    const Config config = m_store.document();
    applySettings(config);
    m_app.floatingDock().reload(dockSurfaces(config, m_app.environment().paths.workspaces()), dockAccent(config));
}

void DockCoordinator::show(const Config &config)
{
    applySettings(config);
    m_app.floatingDock().show(dockSurfaces(config, m_app.environment().paths.workspaces()), dockAccent(config),
                              savedDockPosition(config.settings));
}

void DockCoordinator::toggle()
{
    const Config config = m_store.document();
    applySettings(config);
    if (shownHere()) {
        m_app.floatingDock().hide();
        return;
    }
    show(config);
}

void DockCoordinator::cornerTriggered()
{
    if (m_app.isBusy())
        return;
    const Config config = m_store.document();
    if (shownHere()) {
        m_app.floatingDock().hide();
        return;
    }
    if (config.settings.floatingDockCornerSuppressFullScreen) {
        if (const auto active = m_app.spaceIdentifier().activeSpace(); active && !active->isUser)
            return;
    }
    show(config);
}

void DockCoordinator::moved(const FloatingDockPosition &position)
{
    if (!m_store.document().settings.floatingDockRememberPosition)
        return;
    m_app.editQuietly([&position](Config &config) { config.settings.floatingDockPosition = position; });
}

void DockCoordinator::tileClicked(const QString &name)
{
    // The timers may have archived the desktop since the dock was last filled.
    if (!isLive(m_store.document(), name)) {
        reload();
        return;
    }
    m_app.performSwitch(name, true);
}

void DockCoordinator::handleDrop(const QList<QUrl> &urls, const QString &name)
{
    // Dropped while a switch moves the Desktop's items: moved once it has ended, against the
    // Desktop and the document as they are then.
    QPointer<DockCoordinator> weak(this);
    m_app.requests().submit({QStringLiteral("a drop on %1").arg(name), [weak, urls, name] {
                                 if (weak)
                                     weak->dropNow(urls, name);
                             }});
}

void DockCoordinator::dropNow(const QList<QUrl> &urls, const QString &name)
{
    if (m_app.readOnly() || m_store.hasPendingJournal())
        return;
    const Config config = m_store.document();
    if (name == config.activeWorkspace)
        return;
    if (!isLive(config, name)) {
        // Archived (or gone) since the dock was filled: its folder is hidden from every view.
        reload();
        return;
    }
    FileSystemSurface &files = m_app.surface().files();
    const QString desktop = QDir::cleanPath(QFileInfo(m_app.environment().paths.desktop()).absoluteFilePath());
    // Only what a listing of the Desktop shows can come back with a switch: hidden names and
    // names that are not valid UTF-8 stay where they are.
    const QStringList listed = files.items(Location::desktop());
    QStringList moved;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo item(QDir::cleanPath(url.toLocalFile()));
        const QString itemName = item.fileName();
        if (QDir::cleanPath(item.absolutePath()) != desktop)
            continue;
        if (config.settings.pinnedFolders.contains(itemName) || !listed.contains(itemName) || moved.contains(itemName))
            continue;
        if (!moveDroppedItem(files, itemName, name, m_app.environment().paths.copyRecords()))
            continue;
        moved.append(itemName);
    }
    if (moved.isEmpty())
        return;
    try {
        Config fresh = m_store.loadConfig();
        fresh.updateWorkspace(name, [&](Workspace &target) {
            for (const QString &item : moved) {
                if (!target.files.contains(item))
                    target.files.append(item);
            }
        });
        fresh.updateWorkspace(fresh.activeWorkspace, [&](Workspace &active) {
            for (const QString &item : moved)
                active.files.removeAll(item);
        });
        m_store.saveConfig(fresh);
    } catch (const std::exception &error) {
        qCWarning(Log::error()) << "config.json not saved after a drop on the dock:" << error.what();
    }
    // The save announced the change: the menu and the dock follow it themselves.
    if (m_app.settingsModel())
        m_app.settingsModel()->reload();
}

} // namespace quorvane
