#include "Controller/AppController.h"

#include "Calendar/CreateWorkspaceWindowController.h"
#include "Desktop/Archiver.h"
#include "Desktop/DesktopWatcher.h"
#include "DesktopSwapper.h"
#include "Overlays/SystemAppearance.h"
#include "Session/LinuxNotificationScheduler.h"
#include "Session/SessionNotifications.h"
#include "Settings/SettingsModel.h"
#include "Settings/SettingsWindowController.h"
#include "Shared/Log.h"
#include "Shared/Theme.h"
#include "Triggers/KeyNames.h"
#include "Triggers/KeyRecorder.h"
#include "Windows/CompositorProbe.h"
#include "Windows/PointerSource.h"
#include "Windows/ScreenList.h"
#include "Workspaces/SpaceProvider.h"

#include <QCursor>

namespace quorvane {

namespace {

// The reminders' centre: shown at their time on the session's notification server, under the
// application's name, the icon of its desktop entry and the entry itself.
std::unique_ptr<NotificationScheduler> makeReminderCenter(const AppEnvironment &env)
{
    // The desktop entry's icon is named as the installed application is.
    const NotificationSender sender{QStringLiteral("Quorvane"), AppInfo::installedIdentifier, env.info.identifier};
    const ReminderLastRun lastRun(env.paths.reminderLastRun());
    return std::make_unique<LinuxNotificationScheduler>(
        *env.scheduler, [sender, lastRun](const NotificationRequest &request) {
            postSessionNotification(QDBusConnection::sessionBus(), sender, request, Log::app());
            lastRun.write(dateNow());
        },
        env.session);
}

} // namespace

AppEnvironment AppController::completed(AppEnvironment environment, OwnServices &own)
{
    if (!environment.screens) {
        own.screens = std::make_unique<QtScreenList>();
        environment.screens = own.screens.get();
    }
    if (!environment.compositor) {
        own.compositor = std::make_unique<LinuxCompositorProbe>();
        environment.compositor = own.compositor.get();
    }
    if (!environment.pointerSource) {
        own.pointer = std::make_unique<LinuxPointerSource>();
        environment.pointerSource = own.pointer.get();
    }
    if (!environment.spaces) {
        own.spaces = std::make_unique<LinuxSpaceProvider>();
        environment.spaces = own.spaces.get();
    }
    if (!environment.appearance) {
        own.appearance = SystemAppearance::ofSession(environment.paths.store());
        environment.appearance = own.appearance.get();
    }
    return environment;
}

AppController::AppController(AppEnvironment environment, QObject *parent)
    : QObject(parent)
    , m_env(completed(std::move(environment), m_own))
    , m_statusItem(m_env.makeStatusItem())
    , m_surface(m_env.paths.desktop(), m_env.paths.workspaces(), m_env.iconHost)
    , m_store(m_env.paths.config(), m_env.paths.journal())
    , m_session(m_env.paths.dataLock())
    , m_hotKeys(m_env.hotKeyRegistrar, &m_store)
    , m_spaceIdentifier(*m_env.spaces)
    , m_floatingDock(m_spaceIdentifier, *m_env.scheduler, nullptr, m_env.compositor)
    , m_cornerWatcher(*m_env.scheduler, *m_env.pointerSource,
                      currentScreenLayout, &m_store)
    , m_background(m_env.paths, m_env.backgroundHost, m_env.desktopIconWindow)
    , m_cueOverlay(*m_env.screens, *m_env.compositor, &m_background, &m_store, &m_cueImages)
    , m_switchOverlay(*m_env.scheduler, *m_env.screens, *m_env.compositor,
                      m_env.coverSleep ? Sleeper(m_env.coverSleep) : Sleeper(blockingSleep))
    , m_cleanupNotifier(m_env.info.identifier, makeReminderCenter(m_env), dateNow, &m_store)
    , m_trashWatcher(m_env.info.identifier, m_env.info.executablePath)
    , m_updater(m_env.info.identifier, m_env.updaterBackend, *m_env.scheduler)
    , m_menuBarIcon(*m_env.scheduler, &m_store)
    , m_scrollHUD(
          *m_env.scheduler, *m_env.screens, m_env.pointer ? m_env.pointer : [] { return QCursor::pos(); })
{
    useKeyLayout(m_env.keyLayout);
    // The application's look follows the document, and so do the watchers.
    Theme::shared().follow(m_store);
    QPointer<AppController> weak(this);
    m_desktopWatcher = std::make_unique<DesktopWatcher>(
        m_env.paths.desktop(), 0.4, [weak] {
            if (weak)
                weak->onDesktopChanged();
        },
        *m_env.scheduler, &m_store);
    m_spaceFollower = std::make_unique<SpaceFollower>(
        m_spaceIdentifier, sessionEvents(), *m_env.scheduler,
        [weak](const QString &identity) { return weak ? weak->handleSpaceSettled(identity) : SpaceFollowResult::done; },
        &m_store);
    connect(&m_hotKeys, &HotKeyCenter::triggered, this, &AppController::hotKeyTriggered);
    m_cleanupNotifier.keepLastRun(ReminderLastRun(m_env.paths.reminderLastRun()));
    // A desktop that turns the session dark or light takes the application's own windows along
    // at the same moment, where they follow the system.
    appearance().onChange = [](bool) { Theme::shared().systemChanged(); };
    m_surface.setLog([](const QString &line) { qCWarning(Log::swap()).noquote() << line; });
    // A shortcut being recorded may be one of ours: its keys must reach the recorder.
    KeyRecorderView::setListeningObserver([weak](bool listening) {
        if (!weak)
            return;
        if (listening)
            weak->m_hotKeys.suspend();
        else
            weak->m_hotKeys.resume();
    });
}

AppController::~AppController()
{
    for (const SessionEvents::Token token : m_sessionObservers)
        sessionEvents().removeObserver(token);
    useKeyLayout(nullptr);
    KeyRecorderView::setListeningObserver({});
    // At quit (and on a termination signal, which quits) the user's own desktop background and
    // look come back. Only the process that holds the desktops folder has borrowed them.
    if (m_background.shownHere())
        m_background.putBack();
    if (m_session.dataLock().held()) {
        appearance().onChange = {}; // no window needs to follow any more
        appearance().putBack();
    }
}

DesktopSwapper &AppController::swapper()
{
    if (!m_swapper)
        m_swapper = std::make_unique<DesktopSwapper>(m_surface, m_store);
    return *m_swapper;
}

Archiver &AppController::archiver()
{
    if (!m_archiver)
        m_archiver = std::make_unique<Archiver>(m_store, m_env.paths);
    return *m_archiver;
}

void AppController::onDesktopChanged()
{
    m_gate.submit({QStringLiteral("the Desktop watcher's sweep"), [this] { sweepArrivalsNow(); }, QStringLiteral("arrivals")});
}

void AppController::sweepArrivalsNow()
{
    if (m_store.hasPendingJournal())
        return;
    // A read-only session promised to leave the files untouched; an unsafe Desktop is never
    // swept, nor one whose desktops folder another process holds.
    if (readOnly() || desktopIsUnsafe() || !m_session.dataLock().acquire())
        return;
    const Config config = document();
    const AppSettings &settings = config.settings;
    if (!settings.filterScreenshots && !settings.customFiltersEnabled)
        return;
    sweepInOverruleOrder(config);
    rebuildMenu();
    if (m_settingsModel)
        m_settingsModel->reload();
}

SpaceFollowResult AppController::handleSpaceSettled(const QString &identity)
{
    if (!m_gate.busy())
        return followNow(identity);
    // Followed once the switch under way has ended, to the workspace the user is on then.
    m_gate.submit({QStringLiteral("follow the workspace"),
                   [this, identity] {
                       const auto active = m_spaceIdentifier.activeSpace();
                       followNow(active && active->isUser ? active->identity : identity);
                   },
                   QStringLiteral("follow")});
    return SpaceFollowResult::switched;
}

SpaceFollowResult AppController::followNow(const QString &identity)
{
    try {
        if (m_store.loadJournal())
            return SpaceFollowResult::done;
    } catch (const std::exception &error) {
        // an undecodable journal counts as none
        qCWarning(Log::error()) << "the crash-recovery journal can't be read:" << error.what();
    }
    const Config config = document();
    if (!config.settings.followSpaces)
        return SpaceFollowResult::done;
    const auto bound = config.workspaceBoundToSpace(identity);
    if (!bound || bound->name == config.activeWorkspace)
        return SpaceFollowResult::done;
    switchNow(bound->name, true);
    return SpaceFollowResult::switched;
}

void AppController::editQuietly(const std::function<void(Config &)> &edit)
{
    try {
        m_store.mutateConfig(edit);
    } catch (const std::exception &error) {
        qCWarning(Log::error()) << "config.json not saved:" << error.what();
    }
}

SystemAppearance &AppController::appearance()
{
    return *m_env.appearance;
}

} // namespace quorvane
