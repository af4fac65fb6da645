#include "PlatformKit.h"

#include "Files/LinuxDesktopServices.h"
#include "Files/LockFileRunningInstances.h"
#include "Install/LinuxLoginItem.h"
#include "Keys/KGlobalAccelHotKeyRegistrar.h"
#include "Keys/X11HotKeyRegistrar.h"
#include "Keys/X11KeyLayout.h"
#include "Session/GSettingsAccess.h"
#include "Session/LinuxSessionEvents.h"
#include "Windows/CompositorProbe.h"
#include "Windows/MessageBoxAlertPresenter.h"
#include "Windows/PointerSource.h"
#include "Windows/QtDialogs.h"
#include "Windows/ScreenList.h"
#include "Windows/WidgetActivationPolicy.h"
#include "Work/QtScheduler.h"
#include "Workspaces/SpaceProvider.h"
#include "Workspaces/SwayWorkspaces.h"

#include <QDBusConnection>
#include <QDesktopServices>

namespace quorvane {

namespace {

std::unique_ptr<HotKeyRegistrar> makeHotKeys(const PlatformRoads &roads, const PlatformKit::Setup &setup,
                                             const KeyLayout *layout, const QLoggingCategory &log)
{
    switch (roads.hotKeys) {
    case HotKeyRoad::shortcutService: {
        qCInfo(log) << "global shortcuts through the session's shortcut service (org.kde.kglobalaccel)";
        auto kdeKeys = std::make_unique<KGlobalAccelHotKeyRegistrar>(
            QDBusConnection::sessionBus(), setup.identifier.isEmpty() ? QStringLiteral("quorvane") : setup.identifier,
            QStringLiteral("Quorvane"));
        // The service is told the signs Shift types on the user's layout.
        if (layout)
            kdeKeys->setKeyLayout(layout);
        return kdeKeys;
    }
    case HotKeyRoad::customShortcuts:
        qCInfo(log).noquote() << QStringLiteral("global shortcuts as the desktop's own custom shortcuts (%1)")
                                     .arg(roads.shortcutList->listSchema);
        return std::make_unique<CustomShortcutList>(*roads.shortcutList, std::make_unique<GSettingsToolAccess>(),
                                                    SettingsLedger::inStore(setup.storeFolder), setup.executablePath);
    case HotKeyRoad::keyGrabs:
        qCInfo(log).noquote() << (roads.grabsNeedX11Focus
                                      ? QStringLiteral("global shortcuts as X11 key grabs: on this Wayland "
                                                       "session they work only while an X11 window has focus")
                                      : QStringLiteral("global shortcuts as X11 key grabs"));
        return std::make_unique<X11HotKeyRegistrar>();
    case HotKeyRoad::none:
        break;
    }
    qCWarning(log) << "no global shortcuts on this session: no shortcut service and no X server";
    return nullptr;
}

} // namespace

PlatformKit::PlatformKit(const PlatformRoads &roads, const Setup &setup, const QLoggingCategory &log)
    : m_roads(roads)
    , m_openUrl([](const QUrl &url) { QDesktopServices::openUrl(url); })
    , m_scheduler(std::make_unique<QtScheduler>())
    , m_alerts(std::make_unique<MessageBoxAlertPresenter>())
    , m_dialogs(std::make_unique<QtDialogs>(setup.portalDialogs))
    , m_activation(std::make_unique<WidgetActivationPolicy>())
    , m_sessionEvents(std::make_unique<LinuxSessionEvents>([] { return QDBusConnection::systemBus(); }))
    , m_rootWorkspaces(std::make_unique<LinuxSpaceProvider>())
{
    if (roads.workspaces == WorkspaceRoad::socket) {
        m_socketWorkspaces = std::make_unique<SwayWorkspaces>(roads.workspaceSocket);
        m_sessionEvents->followWorkspaces(*m_socketWorkspaces);
        qCInfo(log).noquote() << QStringLiteral("workspaces through the window manager's socket %1").arg(roads.workspaceSocket);
    }
    // The layout names keys and, for KDE's service, the signs Shift types: the X server's Qt runs
    // on, or else on a Wayland session Xwayland's, which follows the compositor's layout.
    m_keyLayout = roads.x11KeyLayout ? std::make_unique<X11KeyLayout>() : X11KeyLayout::ofDisplay();
    m_hotKeys = makeHotKeys(roads, setup, keyLayout(), log);
    m_instances = std::make_unique<LockFileRunningInstances>(setup.identifier, LockFileRunningInstances::standardRuntimeFolder());
    m_screens = std::make_unique<QtScreenList>();
    m_compositor = std::make_unique<LinuxCompositorProbe>();
    m_pointer = std::make_unique<LinuxPointerSource>();
    m_desktopServices = std::make_unique<LinuxDesktopServices>(m_openUrl);
    if (!setup.identifier.isEmpty())
        m_loginItem = std::make_unique<LinuxLoginItem>(setup.identifier, setup.executablePath);
}

PlatformKit::~PlatformKit() = default;

Scheduler &PlatformKit::scheduler() const
{
    return *m_scheduler;
}

AlertPresenter &PlatformKit::alerts() const
{
    return *m_alerts;
}

Dialogs &PlatformKit::dialogs() const
{
    return *m_dialogs;
}

ActivationPolicy &PlatformKit::activation() const
{
    return *m_activation;
}

SessionEvents &PlatformKit::sessionEvents() const
{
    return *m_sessionEvents;
}

SpaceProvider &PlatformKit::spaces() const
{
    if (m_socketWorkspaces)
        return *m_socketWorkspaces;
    return *m_rootWorkspaces;
}

const KeyLayout *PlatformKit::keyLayout() const
{
    return m_keyLayout && m_keyLayout->available() ? m_keyLayout.get() : nullptr;
}

RunningInstances &PlatformKit::instances() const
{
    return *m_instances;
}

ScreenList &PlatformKit::screens() const
{
    return *m_screens;
}

CompositorProbe &PlatformKit::compositor() const
{
    return *m_compositor;
}

PointerSource &PlatformKit::pointer() const
{
    return *m_pointer;
}

DesktopServices &PlatformKit::desktopServices() const
{
    return *m_desktopServices;
}

LoginItem *PlatformKit::loginItem() const
{
    return m_loginItem.get();
}

} // namespace quorvane
