// Start-up: the hand-over from another running instance, then the launch in its fixed order,
// with the first-run bootstrap, the recovery of an interrupted switch and the start-up prompts.
#include "Controller/AppController.h"
#include "Desktop/Archiver.h"
#include "Shared/Theme.h"

#include "ActivationPolicy.h"
#include "AlertPresenter.h"
#include "DesktopSwapper.h"
#include "Install/MoveToApplicationsWindowController.h"
#include "IoError.h"
#include "Location.h"
#include "NoReplaceMove.h"
#include "Overlays/SystemAppearance.h"
#include "RegularFile.h"
#include "RunningInstances.h"
#include "Shared/Log.h"

#include <QFileInfo>
#include <QPointer>
#include <QUrl>

namespace quorvane {

namespace {

const QString defaultWorkspaceName = QStringLiteral("Default");
const QString legacyBlankName = QStringLiteral("_blank");

// Marks a name of the folder hidden for file managers: one line of the folder's ".hidden".
void hideInFolder(const QString &folder, const QString &name)
{
    const QString path = folder + QStringLiteral("/.hidden");
    // One name a line: a list of hidden names far past this size is not the file managers'.
    const RegularFile::Content existing = RegularFile::read(path, 1024 * 1024);
    if (!existing.bytes && !existing.missing()) {
        qCWarning(Log::app()) << "not marked hidden:" << name << existing.reason;
        return;
    }
    QByteArray contents = existing.bytes.value_or(QByteArray());
    const QByteArray line = name.toUtf8();
    if (contents.split('\n').contains(line))
        return;
    if (!contents.isEmpty() && !contents.endsWith('\n'))
        contents += '\n';
    contents += line + '\n';
    if (const auto failure = RegularFile::write(path, contents))
        qCWarning(Log::app()) << "not marked hidden:" << name << *failure;
}

void makeFolderOrThrow(const QString &path)
{
    if (const int error = fileops::makeFolders(path))
        throw IoError(error, QStringLiteral("create the folder ") + path);
}

} // namespace

void AppController::applicationDidFinishLaunching()
{
    if (enforceSingleInstance())
        completeLaunch();
}

std::optional<qint64> AppController::otherInstance() const
{
    if (m_env.info.identifier.isEmpty() || !m_env.instances)
        return std::nullopt;
    return m_env.instances->otherInstancePid();
}

bool AppController::enforceSingleInstance()
{
    if (m_env.info.identifier.isEmpty() || !m_env.instances)
        return true;
    const auto other = otherInstance();
    if (!other && m_env.instances->claim())
        return true;
    qCInfo(Log::app()).noquote() << QStringLiteral("another instance is running (pid %1) — waiting to see if it's exiting")
                                        .arg(other.value_or(0));
    awaitHandover(12);
    return false;
}

void AppController::awaitHandover(int attemptsLeft)
{
    if (!otherInstance() && m_env.instances->claim()) {
        qCInfo(Log::app()) << "previous instance exited — taking over";
        completeLaunch();
        return;
    }
    if (attemptsLeft >= 1) {
        QPointer<AppController> weak(this);
        m_env.scheduler->after(0.5, [weak, attemptsLeft] {
            if (weak)
                weak->awaitHandover(attemptsLeft - 1);
        });
        return;
    }
    qCInfo(Log::app()) << "another instance is alive and staying — this one quits";
    if (m_env.terminate)
        m_env.terminate();
}

void AppController::completeLaunch()
{
    // 1. Version lines.
    const QString version = m_env.info.shortVersion.isEmpty() ? QStringLiteral("dev") : m_env.info.shortVersion;
    qCInfo(Log::app()).noquote() << QStringLiteral("Quorvane %1 launched").arg(version);
    const std::optional<QString> updates = m_updater.frameworkVersion();
    qCInfo(Log::app()).noquote() << (updates ? QStringLiteral("update framework %1 loaded").arg(*updates)
                                             : QStringLiteral("update framework not loaded"));
    // One process per desktops folder, whatever its identity: the one that cannot take the
    // folder's lock touches nothing and quits. (With a Desktop that is the home folder nothing
    // is ever moved, and no desktops folder is made for the lock.)
    if (!desktopIsUnsafe() && !m_dataLock.acquire()) {
        warnDataLockHeld();
        if (m_env.terminate)
            m_env.terminate();
        return;
    }
    // 2. There is no application-wide menu bar here: each window installs the main menu.
    // 3.
    warnIfConfigFromNewerVersion();
    // The look every window takes, before the first is shown.
    Theme::shared().apply(loadOrDefault().settings.appearance);
    // 4. The status item.
    const bool noStatusArea = !m_statusItem->isAvailable();
    if (noStatusArea) {
        qCWarning(Log::app()) << "no status area on this desktop: the status item is unavailable";
        tellThereIsNoStatusArea();
    }
    m_menuBarIcon.install(m_statusItem);
    m_statusItem->setMenu(&m_menu);
    // A status area that draws the menu itself asks for it just before it opens.
    connect(&m_menu, &QMenu::aboutToShow, this, &AppController::refreshMenu, Qt::UniqueConnection);
    QPointer<AppController> weak(this);
    m_statusItem->setOnClick([weak](const StatusItem::Click &click) {
        if (weak)
            weak->statusItemClicked(click);
    });
    m_statusItem->setVisible(true);
    if (m_statusItem->isAvailable())
        qCInfo(Log::app()) << "status item shown in the status area";
    // 5. Scrolling over the status item.
    m_statusItem->setOnWheel([weak](const StatusItem::Wheel &wheel) {
        if (weak && weak->loadOrDefault().settings.scrollToCycle)
            weak->handleScroll(wheel);
    });
    // 6.
    configureFloatingDock();
    // 7. Bootstrap and recovery, one unit: its first error is shown and ends it.
    if (desktopIsUnsafe()) {
        warnUnsafeDesktop();
    } else if (storeReadOnly) {
        // A session that cannot save the document writes nothing at all: no first-run
        // bootstrap, no folders, and the replay and the drains wait for a version that can
        // write this document.
        bool journalFound = false;
        try {
            journalFound = m_store.loadJournal().has_value();
        } catch (...) {
        }
        if (journalFound)
            qCCritical(Log::app()) << "crash-recovery journal left for a newer version: the document is read-only";
    } else {
        QStringList stayed;
        try {
            bootstrapIfNeeded();
            bool journalFound = false;
            try {
                journalFound = m_store.loadJournal().has_value();
            } catch (...) {
            }
            if (journalFound)
                qCCritical(Log::app()) << "crash-recovery journal found — finishing the interrupted swap";
            swapper().recoverIfNeeded();
            stayed = swapper().stayedBehind();
            archiver().finishInterrupted();
            if (journalFound)
                qCInfo(Log::app()) << "crash recovery complete";
        } catch (...) {
            present(std::current_exception());
        }
        if (!stayed.isEmpty())
            noteStayedBehind(stayed);
    }
    // 8 to 20.
    stampActiveVisited();
    collapseAtStartupIfWanted();
    fireDueTimersIfSafe();
    reloadHotKeys();
    rebuildMenu();
    // A background and a look a crash left borrowed go back before the active desktop's cue
    // and mode are shown again.
    if (!desktopIsUnsafe()) {
        m_background.putBack();
        appearance().putBack();
        const Config config = loadOrDefault();
        applyAppearance(config.activeWorkspace, config);
    }
    updateCueOverlay(std::nullopt);
    startScheduler();
    observeWake();
    syncCleanupNotifications();
    refreshDesktopWatcher();
    observeActiveSpace();
    refreshSpaceFollower();
    refreshCornerWatcher();
    // 21 to 25. (There is no cloud-synced Desktop to warn about, and no consent to arrange
    // desktop icons to ask for.)
    offerToMoveToApplications();
    m_trashWatcher.onTrashed = [weak] {
        if (weak)
            weak->appMovedToTrash();
    };
    m_trashWatcher.start();
    m_updater.start([weak] { return weak && weak->isBusy(); });
    // Without a status item the settings window is the way in: desktops are made there, and the
    // floating dock it offers switches them.
    if (noStatusArea && !desktopIsUnsafe())
        openSettings();
    publishCommands();
}

void AppController::tellThereIsNoStatusArea()
{
    if (!m_env.notify)
        return;
    const bool gnome = qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
    const QString how = gnome ? QStringLiteral("GNOME shows status icons only with the AppIndicator extension: install "
                                               "“gnome-shell-extension-appindicator”, enable it in Extensions, then start "
                                               "Quorvane again.")
                              : QStringLiteral("Add a status tray (notification area) to your panel, then start Quorvane "
                                               "again.");
    m_env.notify(QStringLiteral("Quorvane has no status area"),
                 QStringLiteral("This desktop shows no status icons, so Quorvane's menu can't appear. ") + how
                     + QStringLiteral(" Until then, use the settings window and the floating dock."));
}

void AppController::warnIfConfigFromNewerVersion()
{
    Config config;
    try {
        config = m_store.loadConfig();
    } catch (...) {
        return;
    }
    if (config.schemaVersion <= Config::currentSchemaVersion)
        return;
    storeReadOnly = true;
    qCCritical(Log::error()).noquote() << QStringLiteral("config.json schema %1 > %2 — read-only session")
                                              .arg(config.schemaVersion)
                                              .arg(Config::currentSchemaVersion);
    Alert alert;
    alert.message = QStringLiteral("This copy of Quorvane is older than your data");
    alert.informativeText = QStringLiteral(
        "Your desktops were last managed by a newer version of Quorvane. Your files and settings are safe and untouched "
        "— but switching and changes are paused until you run the newer version again (or update this one).");
    alert.buttons = {QStringLiteral("OK")};
    m_env.alerts->present(alert);
}

void AppController::warnUnsafeDesktop()
{
    qCCritical(Log::error()).noquote()
        << QStringLiteral("the Desktop folder %1 is the home folder or holds the desktops folder — nothing is moved")
               .arg(m_env.paths.desktop());
    Alert alert;
    alert.message = QStringLiteral("Quorvane can't use this Desktop folder");
    alert.informativeText =
        QStringLiteral("Your Desktop folder is your home folder itself, or it holds the \u201C") + Paths::rootName
        + QStringLiteral("\u201D folder, so switching desktops would move everything in it. Quorvane has left your files "
                         "untouched and won't switch. Give your Desktop a folder of its own, then relaunch Quorvane.");
    alert.buttons = {QStringLiteral("OK")};
    m_env.alerts->present(alert);
}

void AppController::warnDataLockHeld()
{
    if (!m_dataLock.heldElsewhere()) {
        warnDesktopsFolderUnwritable(m_dataLock.lastError());
        return;
    }
    qCCritical(Log::app()).noquote()
        << QStringLiteral("another process works on %1 — this one quits").arg(m_env.paths.workspaces());
    Alert alert;
    alert.message = QStringLiteral("Quorvane is already running");
    alert.informativeText = QStringLiteral("Another Quorvane is managing the desktops in \u201C") + Paths::rootName
        + QStringLiteral("\u201D. This one quits without changing anything.");
    alert.buttons = {QStringLiteral("OK")};
    m_env.alerts->present(alert);
}

void AppController::warnDesktopsFolderUnwritable(int error)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(error));
    qCCritical(Log::error()).noquote()
        << QStringLiteral("can't write %1: %2 — this one quits").arg(m_dataLock.path(), reason);
    Alert alert;
    alert.message = QStringLiteral("Quorvane can't write to its desktops folder");
    alert.informativeText = QStringLiteral("Quorvane keeps your desktops in \u201C") + Paths::rootName
        + QStringLiteral("\u201D in your home folder, and it can't write there: ") + reason
        + QStringLiteral(". It quits without changing anything. Make the folder writable, then relaunch Quorvane.");
    alert.buttons = {QStringLiteral("OK")};
    m_env.alerts->present(alert);
}

void AppController::configureFloatingDock()
{
    QPointer<AppController> weak(this);
    m_floatingDock.onSwitch = [weak](const QString &name) {
        if (weak)
            weak->dockTileClicked(name);
    };
    m_floatingDock.onDrop = [weak](const QList<QUrl> &urls, const QString &name) {
        if (weak)
            weak->handleDockDrop(urls, name);
    };
    m_floatingDock.onMove = [weak](const FloatingDockPosition &position) {
        if (weak)
            weak->dockMoved(position);
    };
    m_cornerWatcher.onTrigger = [weak] {
        if (weak)
            weak->cornerTriggered();
    };
}

void AppController::bootstrapIfNeeded()
{
    const QString root = m_env.paths.workspaces();
    makeFolderOrThrow(root);
    // The store writes into its folder but never creates it.
    makeFolderOrThrow(m_env.paths.store());

    Config config = m_store.loadConfig();
    if (config.workspaces.empty()) {
        const QStringList items = m_surface.files.items(Location::desktop());
        IconPositions positions;
        try {
            positions = m_surface.readPositions(items);
        } catch (...) {
        }
        Workspace first = Workspace::make(defaultWorkspaceName);
        first.files = items;
        for (const auto &[name, position] : positions)
            first.positions.insert(name, position);
        // The records join the loaded document: whatever else it holds (the settings above
        // all) is kept, and a document of a newer version is refused by the store, not
        // replaced.
        config.activeWorkspace = defaultWorkspaceName;
        config.workspaces = {first, Workspace::make(Config::blankWorkspaceName)};
        m_store.saveConfig(config);
    }

    migrateBlankWorkspaceName(config);

    // Only desktops whose folder lives here: an archived desktop's folder is in the archive,
    // and an empty one of its name would block its restore.
    for (const Workspace &workspace : config.workspaces) {
        if (workspace.state != WorkspaceState::active || !Location::isSafeName(workspace.name))
            continue;
        makeFolderOrThrow(root + QLatin1Char('/') + workspace.name);
    }
    hideInFolder(root, Config::blankWorkspaceName);
}

void AppController::migrateBlankWorkspaceName(Config &config)
{
    const QString blank = Config::blankWorkspaceName;
    if (!config.hasWorkspace(legacyBlankName) || config.hasWorkspace(blank))
        return;
    const QString root = m_env.paths.workspaces();
    const QString legacyFolder = root + QLatin1Char('/') + legacyBlankName;
    const QString currentFolder = root + QLatin1Char('/') + blank;
    if (QFileInfo(legacyFolder).isDir() && !fileops::exists(currentFolder))
        fileops::moveItem(legacyFolder, currentFolder, m_env.paths.copyRecords());
    config.updateWorkspace(legacyBlankName, [&](Workspace &workspace) { workspace.name = blank; });
    if (config.activeWorkspace == legacyBlankName)
        config.activeWorkspace = blank;
    if (config.lastExpandedWorkspace == legacyBlankName)
        config.lastExpandedWorkspace = blank;
    m_store.saveConfig(config);
}

void AppController::collapseAtStartupIfWanted()
{
    const Config config = loadOrDefault();
    if (!config.settings.startMinimized || config.activeWorkspace == Config::blankWorkspaceName
        || !config.hasWorkspace(Config::blankWorkspaceName))
        return;
    editQuietly([](Config &changed) { changed.lastExpandedWorkspace = changed.activeWorkspace; });
    performSwitch(Config::blankWorkspaceName, false);
}

void AppController::offerToMoveToApplications()
{
    const InstallLocation::Situation situation = InstallLocation::situation(m_env.info, m_env.paths.home());
    if (situation == InstallLocation::Situation::fine)
        return;
    if (loadOrDefault().settings.declinedMoveToApplications)
        return;
    qCInfo(Log::app()).noquote()
        << QStringLiteral("running from a poor location (%1) — offering to relocate").arg(toString(situation));
    auto &prompt = MoveToApplicationsWindowController::shared;
    if (!prompt) {
        QPointer<AppController> weak(this);
        prompt = std::make_unique<MoveToApplicationsWindowController>(
            situation, InstallLocation::sourceFolderName(m_env.info),
            [info = m_env.info, home = m_env.paths.home(), records = m_env.paths.copyRecords(),
             loginItem = m_env.loginItem, terminate = m_env.terminate] {
                const AppInfo moved = InstallLocation::moveToApplications(info, home, loginItem,
                                                                          InstallLocation::Operations::standard(records));
                qCInfo(Log::app()).noquote() << QStringLiteral("relocated to %1 — relaunching").arg(moved.executablePath);
                InstallLocation::relaunch(moved.executablePath, terminate);
            },
            [weak] {
                if (weak)
                    weak->editQuietly([](Config &config) { config.settings.declinedMoveToApplications = true; });
            });
        prompt->onClose = accessoryOnClose();
    }
    presentOwnWindow(prompt->window());
    if (QWidget *window = prompt->window()) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

} // namespace quorvane
