#include "Controller/LaunchCoordinator.h"

#include "Controller/AppController.h"
#include "Controller/DesktopsBootstrap.h"
#include "Controller/LaunchAlerts.h"
#include "Controller/StatusMenuController.h"
#include "Desktop/Archiver.h"
#include "DesktopSwapper.h"
#include "Files/RunningInstances.h"
#include "Install/MoveToApplicationsWindowController.h"
#include "Overlays/SystemAppearance.h"
#include "Shared/AppInfo.h"
#include "Shared/FreedMemory.h"
#include "Shared/Log.h"
#include "Shared/Theme.h"

#include <QPointer>

namespace quorvane {

LaunchCoordinator::LaunchCoordinator(AppController &app)
    : m_app(app)
{
}

LaunchCoordinator::~LaunchCoordinator() = default;

void LaunchCoordinator::start()
{
    if (enforceSingleInstance())
        completeLaunch();
}

std::optional<qint64> LaunchCoordinator::otherInstance() const
{
    if (m_app.environment().info.identifier.isEmpty() || !m_app.environment().instances)
        return std::nullopt;
    return m_app.environment().instances->otherInstancePid();
}

bool LaunchCoordinator::enforceSingleInstance()
{
    if (m_app.environment().info.identifier.isEmpty() || !m_app.environment().instances)
        return true;
    const auto other = otherInstance();
    if (!other && m_app.environment().instances->claim())
        return true;
    qCInfo(Log::app()).noquote() << QStringLiteral("another instance is running (pid %1) — waiting to see if it's exiting")
                                        .arg(other.value_or(0));
    awaitHandover(12);
    return false;
}

void LaunchCoordinator::awaitHandover(int attemptsLeft)
{
    if (!otherInstance() && m_app.environment().instances->claim()) {
        qCInfo(Log::app()) << "previous instance exited — taking over";
        completeLaunch();
        return;
    }
    if (attemptsLeft >= 1) {
        QPointer<LaunchCoordinator> weak(this);
        m_app.environment().scheduler->after(0.5, [weak, attemptsLeft] {
            if (weak)
                weak->awaitHandover(attemptsLeft - 1);
        });
        return;
    }
    qCInfo(Log::app()) << "another instance is alive and staying — this one quits";
    if (m_app.environment().terminate)
        m_app.environment().terminate();
}

void LaunchCoordinator::completeLaunch()
{
    AppController &app = m_app;
    const AppEnvironment &env = app.environment();
    // 1. Version lines.
    const QString version = env.info.shortVersion.isEmpty() ? QStringLiteral("dev") : env.info.shortVersion;
    qCInfo(Log::app()).noquote() << QStringLiteral("Quorvane %1 launched").arg(version);
    const std::optional<QString> updates = app.updater().frameworkVersion();
    qCInfo(Log::app()).noquote() << (updates ? QStringLiteral("update framework %1 loaded").arg(*updates)
                                             : QStringLiteral("update framework not loaded"));
    // One process per desktops folder, whatever its identity: the one that cannot take the
    // folder's lock touches nothing and quits. (With a Desktop that is the home folder nothing
    // is ever moved, and no desktops folder is made for the lock.)
    if (!app.desktopIsUnsafe() && !app.sessionState().dataLock().acquire()) {
        useApplicationIconOnWindows();
        launchalerts::dataLockNotTaken(*env.alerts, env.paths, app.sessionState().dataLock());
        if (env.terminate)
            env.terminate();
        return;
    }
    // 2. There is no application-wide menu bar here: each window installs the main menu.
    // 3.
    warnIfConfigFromNewerVersion();
    // 4. The status item, and 5. scrolling over it.
    watchForAStatusArea();
    app.statusMenu().install();
    useApplicationIconOnWindows();
    // The look every window takes, before the first is shown. (The icon draws its own glyph in
    // the panel's shade, so it is shown first: the session's mode may take a child process.)
    Theme::shared().apply(app.store().document().settings.appearance);
    // 6.
    app.dock().connectComponents();
    // 7. The steps after it see what it made (on a first run, once the Desktop's icon
    // positions have been read away from the event loop).
    if (app.desktopIsUnsafe()) {
        launchalerts::unsafeDesktop(*env.alerts, env.paths);
        launchAfterRecovery();
    } else {
        recover();
    }
}

void LaunchCoordinator::launchAfterRecovery()
{
    AppController &app = m_app;
    // 8 to 20.
    app.stampActiveVisited();
    collapseAtStartupIfWanted();
    app.fireDueTimersIfSafe();
    // A background and a look a crash left borrowed go back before the active desktop's cue
    // and mode are shown again.
    if (!app.desktopIsUnsafe()) {
        app.background().putBack();
        app.appearance().putBack();
        const Config config = app.store().document();
        app.applyAppearance(config.activeWorkspace, config);
    }
    app.startScheduler();
    app.observeWake();
    app.observeActiveSpace();
    // Every component takes its settings from the document now (hot keys, menu, cue, reminders,
    // watchers, corner, dock), and from here on follows each change of it, a hand edit too.
    app.store().announce();
    if (!app.store().watch())
        qCWarning(Log::app()) << "the store's folder is missing: a change of config.json by hand is seen at the next read";
    // 21 to 25. (There is no cloud-synced Desktop to warn about, and no consent to arrange
    // desktop icons to ask for.)
    offerToMoveToApplications();
    QPointer<AppController> weak(&app);
    app.trashWatcher().onTrashed = [weak] {
        if (weak)
            weak->quitAndUninstall().appMovedToTrash();
    };
    app.trashWatcher().start();
    app.updater().start([weak] { return weak && weak->isBusy(); });
    app.publishCommands();
    // What the first reads and the recovery freed goes back.
    giveBackFreedMemory();
}

void LaunchCoordinator::recover()
{
    AppController &app = m_app;
    if (app.readOnly()) {
        // A session that cannot save the document writes nothing at all: no first-run
        // bootstrap, no folders, and the replay and the drains wait for a version that can
        // write this document.
        bool journalFound = false;
        try {
            journalFound = app.store().loadJournal().has_value();
        } catch (const std::exception &error) {
            qCWarning(Log::error()) << "the crash-recovery journal can't be read:" << error.what();
        }
        if (journalFound)
            qCCritical(Log::app()) << "crash-recovery journal left for a newer version: the document is read-only";
        launchAfterRecovery();
        return;
    }
    DesktopsBootstrap(app.environment().paths, app.store(), app.surface()).run(this, [this](std::exception_ptr failure) {
        if (failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception &error) {
                m_app.present(error);
            }
        } else {
            finishRecovery();
        }
        launchAfterRecovery();
    });
}

void LaunchCoordinator::finishRecovery()
{
    AppController &app = m_app;
    QStringList stayed;
    try {
        bool journalFound = false;
        try {
            journalFound = app.store().loadJournal().has_value();
        } catch (const std::exception &error) {
            qCWarning(Log::error()) << "the crash-recovery journal can't be read:" << error.what();
        }
        if (journalFound)
            qCCritical(Log::app()) << "crash-recovery journal found — finishing the interrupted swap";
        app.swapper().recoverIfNeeded();
        stayed = app.swapper().stayedBehind();
        app.archiver().finishInterrupted();
        if (journalFound)
            qCInfo(Log::app()) << "crash recovery complete";
    } catch (const std::exception &error) {
        app.present(error);
    }
    if (!stayed.isEmpty())
        app.noteStayedBehind(stayed);
}

void LaunchCoordinator::warnIfConfigFromNewerVersion()
{
    if (m_app.store().state() != DocumentService::State::newer)
        return;
    m_app.sessionState().setReadOnly();
    useApplicationIconOnWindows();
    launchalerts::documentFromNewerVersion(*m_app.environment().alerts, m_app.store().document().schemaVersion);
}

void LaunchCoordinator::watchForAStatusArea()
{
    AppController &app = m_app;
    if (!app.environment().scheduler)
        return;
    auto withdraw = std::make_shared<std::function<void()>>();
    auto settingsOpened = std::make_shared<bool>(false);
    StatusAreaNotice::Actions actions;
    QPointer<LaunchCoordinator> weak(this);
    actions.tell = [weak, withdraw, settingsOpened] {
        if (!weak)
            return;
        qCWarning(Log::app()) << "no status area on this desktop: the status item is unavailable";
        *withdraw = weak->tellThereIsNoStatusArea();
        // Without a status item the settings window is the way in: desktops are made there, and
        // the floating dock it offers switches them.
        AppController &app = weak->m_app;
        if (!app.desktopIsUnsafe() && !app.openSettingsWindow()) {
            app.openSettings();
            *settingsOpened = true;
        }
    };
    actions.withdraw = [weak, withdraw, settingsOpened] {
        qCInfo(Log::app()) << "a status area appeared: the notice that there was none is taken back";
        if (*withdraw)
            std::exchange(*withdraw, {})();
        if (weak && std::exchange(*settingsOpened, false)) {
            if (QWidget *window = weak->m_app.openSettingsWindow(); window && window->isVisible())
                window->close();
        }
    };
    m_statusAreaNotice = std::make_unique<StatusAreaNotice>(*app.environment().scheduler, std::move(actions));
    app.statusItemHandle()->setOnAvailabilityChanged([weak](bool available) {
        if (available)
            qCInfo(Log::app()) << "status item shown in the status area";
        if (weak && weak->m_statusAreaNotice)
            weak->m_statusAreaNotice->statusAreaAvailable(available);
    });
    if (!app.statusItemHandle()->isAvailable())
        qCInfo(Log::app()) << "no status area yet: the status item is unavailable until one appears";
    m_statusAreaNotice->statusAreaAvailable(app.statusItemHandle()->isAvailable());
}

std::function<void()> LaunchCoordinator::tellThereIsNoStatusArea()
{
    const AppEnvironment &env = m_app.environment();
    if (!env.notify && !env.notice)
        return {};
    const bool gnome = qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
    // True on every session: the icon appears by itself once a status area comes, and not every
    // panel can hold a tray (weston's has none).
    const QString title = tr("Quorvane has no status area");
    const QString body = gnome ? tr("This desktop shows no status icons, so Quorvane's menu can't appear. GNOME shows status "
                                    "icons only with the AppIndicator extension: install “gnome-shell-extension-appindicator” "
                                    "and enable it in Extensions; Quorvane's icon then appears by itself. Until then, use the "
                                    "settings window and the floating dock.")
                               : tr("This desktop shows no status icons, so Quorvane's menu can't appear. Where your panel can "
                                    "hold a status tray (notification area), add one: Quorvane's icon then appears there by "
                                    "itself. Until then, use the settings window and the floating dock.");
    if (env.notice)
        return env.notice(title, body);
    env.notify(title, body);
    return {};
}

void LaunchCoordinator::collapseAtStartupIfWanted()
{
    const Config config = m_app.store().document();
    if (!config.settings.startMinimized || config.activeWorkspace == Config::blankWorkspaceName
        || !config.hasWorkspace(Config::blankWorkspaceName))
        return;
    m_app.editQuietly([](Config &changed) { changed.lastExpandedWorkspace = changed.activeWorkspace; });
    m_app.performSwitch(Config::blankWorkspaceName, false);
}

void LaunchCoordinator::offerToMoveToApplications()
{
    const AppEnvironment &env = m_app.environment();
    const InstallLocation::Situation situation = InstallLocation::situation(env.info, env.paths.home());
    if (situation == InstallLocation::Situation::fine)
        return;
    if (m_app.store().document().settings.declinedMoveToApplications)
        return;
    qCInfo(Log::app()).noquote()
        << QStringLiteral("running from a poor location (%1) — offering to relocate").arg(toString(situation));
    m_app.windows().showMovePrompt(situation);
}

} // namespace quorvane
