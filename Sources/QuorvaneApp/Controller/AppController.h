#pragma once

#include "AppearanceMode.h"
#include "Calendar/CleanupNotifier.h"
#include "Controller/AppEnvironment.h"
#include "Controller/MenuBarIconAnimator.h"
#include "Controller/StatusAreaNotice.h"
#include "Controller/StatusMenuModel.h"
#include "Controller/SwitchCoordinator.h"
#include "DataLock.h"
#include "Desktop/FinderSurface.h"
#include "Dock/FloatingDock.h"
#include "Install/TrashWatcher.h"
#include "Install/Updater.h"
#include "Overlays/DesktopBackground.h"
#include "Overlays/DesktopCueOverlay.h"
#include "Overlays/SwitchTransitionOverlay.h"
#include "SessionEvents.h"
#include "Shared/DocumentService.h"
#include "Triggers/AppCommandService.h"
#include "Triggers/CornerWatcher.h"
#include "Triggers/HotKeyCenter.h"
#include "Triggers/ScrollCycleHUD.h"
#include "Triggers/SpaceFollower.h"
#include "Triggers/SpaceIdentifier.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace quorvane {

class Archiver;
class CreateWorkspaceWindowController;
class Dialogs;
class DesktopSwapper;
class DesktopWatcher;
class SettingsModel;
class SettingsWindowController;
class SystemAppearance;

// The one object that owns every long-lived component of the process. Construction touches no
// file, shows no window and starts no timer; launching does that (applicationDidFinishLaunching).
class AppController : public QObject {
    Q_OBJECT

public:
    explicit AppController(AppEnvironment environment, QObject *parent = nullptr);
    ~AppController() override;

    // Start-up: called by main once the event loop runs. Hands over from another running
    // instance, then completes the launch.
    void applicationDidFinishLaunching();
    // True when this instance may go on now; false when it waits for another one to go.
    bool enforceSingleInstance();
    // The process id of another running instance of this application.
    std::optional<qint64> otherInstance() const;
    // Looks again for the other instance; looks again 0.5 s later while attempts are left,
    // quits at the last look.
    void awaitHandover(int attemptsLeft);
    // The ordered start-up; every step runs even when an earlier one failed.
    void completeLaunch();
    void warnIfConfigFromNewerVersion();
    // Says once, visibly, that the desktop has no status area and what would give it one;
    // returns what takes the notice back (nothing when it can't be).
    std::function<void()> tellThereIsNoStatusArea();
    // No status area after the grace: the notice, and the settings window as the way in. A
    // status area that comes later takes both back.
    void watchForAStatusArea();
    void configureFloatingDock();
    // First run: the Desktop's items become desktop "Default". Creates the desktops folder,
    // its store folder and the folders of the live desktops and the blank desktop.
    void bootstrapIfNeeded();
    // Renames the legacy blank desktop "_blank" (record, folder, references) and saves.
    void migrateBlankWorkspaceName(Config &config);
    void collapseAtStartupIfWanted();
    void offerToMoveToApplications();

    // The installed executable arrived in the Trash (the Trash watcher's onTrashed): offers
    // the uninstall unless an update is being installed. Like uninstallRequested it brings the
    // desktops back onto the Desktop, removes the login item and quits.
    void appMovedToTrash();

    // Switching: every request ends here, and goes on to the switch's coordinator. Does
    // nothing when the target is already active, the session is read-only or the Desktop
    // folder is not a safe one.
    void performSwitch(const QString &target, bool userInitiated);
    void sweepInOverruleOrder(const Config &config);
    // Both sweeps in the configured order, then the menu and the settings model refresh.
    void sweepActiveDesktopNow();
    void applyAppearance(const QString &name, const Config &config);
    // The one alert naming the items a switch or a recovery could not move, which stayed where
    // they were.
    void noteStayedBehind(const QStringList &names);
    // The controller's one error alert.
    void present(const std::exception &error);
    void present(std::exception_ptr error);
    void stampActiveVisited();
    // One switch and its phases.
    SwitchCoordinator &switching() { return m_switching; }

    // Scrolling over the status item steps through the live desktops; 0.4 s after the last
    // counted event the selected one becomes active.
    void handleScroll(const StatusItem::Wheel &wheel);
    static constexpr double scrollStepPoints = 90;
    static constexpr double scrollCommitDelay = 0.4;
    bool scrolling = false;
    QStringList scrollRing;
    std::optional<int> scrollIndex;
    double scrollAccum = 0;

    // The status menu.
    void rebuildMenu();
    // Rebuilds the menu when the document on disk, changed by whatever means, asks for other
    // items than the menu shows; run whenever the menu is about to open.
    void refreshMenu();
    StatusMenuModel menuModel() const { return m_menuModel; }
    void statusItemClicked(const StatusItem::Click &click);
    void switchWorkspace(const QString &name);
    // Hides the active desktop behind the blank one, or brings back the expand target.
    void toggleCollapse();
    void newWorkspace();
    void openCalendar();
    void toggleDock();
    void toggleScreenshotFilteringPause();
    void openSettings();
    // The settings window once it has been opened.
    QWidget *openSettingsWindow() const;
    void quit();

    // Built on first use; every later call returns the same object.
    DesktopSwapper &swapper();
    Archiver &archiver();
    DesktopWatcher &desktopWatcher();
    SpaceFollower &spaceFollower();
    SpaceIdentifier &spaceIdentifier() { return m_spaceIdentifier; }

    const AppEnvironment &environment() const { return m_env; }
    StatusItem &statusItem() { return *m_statusItem; }
    FinderSurface &surface() { return m_surface; }
    // The document's one owner and writer; the store every component of the run is given.
    DocumentService &store() { return m_store; }
    HotKeyCenter &hotKeys() { return m_hotKeys; }
    FloatingDock &floatingDock() { return m_floatingDock; }
    CornerWatcher &cornerWatcher() { return m_cornerWatcher; }
    DesktopCueOverlay &cueOverlay() { return m_cueOverlay; }
    SwitchTransitionOverlay &switchOverlay() { return m_switchOverlay; }
    CleanupNotifier &cleanupNotifier() { return m_cleanupNotifier; }
    TrashWatcher &trashWatcher() { return m_trashWatcher; }
    Updater &updater() { return m_updater; }
    MenuBarIconAnimator &menuBarIcon() { return m_menuBarIcon; }
    QMenu &menu() { return m_menu; }
    ScrollCycleHUD &scrollHUD() { return m_scrollHUD; }

    bool isSwapping = false;
    std::optional<QString> previousWorkspace;
    bool storeReadOnly = false;
    double schedulerInterval = 60;

    // The follower's question once a Space has settled: switches to the desktop bound to it.
    // Busy while a switch runs; done while a journal waits or nothing is bound to it.
    SpaceFollowResult handleSpaceSettled(const QString &identity);
    // The Desktop watcher's report after its debounce. Sweeping arrivals is wired together
    // with the other timers and observers; until then a change is only noted.
    void onDesktopChanged();
    // The dock's corner: toggles the dock unless a switch is running or pending.
    void cornerTriggered();
    // Moves Desktop items dropped on a tile into that desktop's folder, without switching.
    void handleDockDrop(const QList<QUrl> &urls, const QString &name);

    SettingsModel *settingsModel() const { return m_settingsModel.get(); }
    // The one settings model of the run, built on first use with the controller's callbacks.
    SettingsModel &ensureSettingsModel();
    // The settings model's onPreviewTransition: plays the chosen switch transition once.
    void previewSwitchTransition();
    // The settings model's onUninstall: starts the uninstall, which asks first, and reveals
    // the executable before quitting.
    void uninstallRequested();

    // What a pressed hot key asks for: a desktop's switch, or one of the global actions.
    void hotKeyTriggered(const HotKeyAssignment::Owner &owner);
    // One step through the switchable desktops, wrapping at both ends; from the blank or a
    // temporary desktop, forward starts at the first and backward at the last.
    void cycle(int step);
    // The option-click carousel: its live stops, else the switchable desktops.
    void cycleOptionClick();
    // Back to the desktop active before the last switch, while it is still live.
    void switchToLastDesktop();
    // The 60-second job, also run on wake: completes due desktop timers and, if any, catches
    // the menu, the settings model and the reminders up.
    void runSchedulerJob();
    // The window manager's workspace changed: strips hidden in full-screen Spaces go, the
    // floating dock re-asserts its Space.
    void activeSpaceChanged();
    SessionEvents &sessionEvents() { return m_env.session ? *m_env.session : m_quietSession; }

    // The command line's requests: where this instance stands, and an accepted request run on
    // the road of the matching hot key.
    AppCommandState commandState();
    void runCommand(const AppCommand &command);

private:
    friend class SwitchCoordinator;

    // The application's own windows (settings, new-desktop sheet, move prompt): while one is
    // open the application is a regular one with the main menu's shortcuts in that window;
    // closing it makes the application an accessory again.
    void presentOwnWindow(QWidget *window);
    std::function<void()> accessoryOnClose() const;
    // The windows' questions: the environment's, else Qt's own.
    Dialogs &dialogs();

    // The stored document, the default one while it cannot be read (the service says so).
    Config loadOrDefault();
    // The document changed, by whatever means: what the controller keeps in line with it catches
    // up (the look and the glyph, hot keys, menu, watchers, dock); the cue, the corner and the
    // reminders follow the document themselves.
    void documentChanged(const Config &config, DocumentService::Changes what);
    // Loads, edits and saves the document, dropping a failure: the controller's saves outside a
    // switch (remembered flags, the visit stamp) never interrupt the user.
    void editQuietly(const std::function<void(Config &)> &edit);
    SystemAppearance &appearance();
    // The Desktop folder is the home folder or holds the desktops folder: nothing may move.
    bool desktopIsUnsafe() const { return !m_env.paths.desktopIsSafe(); }
    void warnUnsafeDesktop();
    // Another process works on this desktops folder: one alert, then this one quits.
    void warnDataLockHeld();
    void warnDesktopsFolderUnwritable(int error);
    // Completes due desktop timers unless a switch is pending or the session is read-only.
    QStringList fireDueTimersIfSafe();
    void advanceScroll(int step);
    void scheduleScrollCommit();
    void commitScroll();
    void choose(const StatusMenuItem &item);
    // Small helpers for what the start-up and the menu call of the triggers, timers and
    // settings wiring.
    void updateCueOverlay(const std::optional<QString> &name);
    void startScheduler();
    void observeWake();
    void observeActiveSpace();
    // Takes the command line's requests from now on.
    void publishCommands();
    // A desktop's own shortcut: switches while a live desktop has that name.
    void switchToLiveDesktop(const QString &name);
    void refreshDesktopWatcher();
    void refreshSpaceFollower();
    void reloadFloatingDock();
    void toggleFloatingDock();
    // The dock's settings, pushed into the dock (applied to the panel when it is next built).
    void applyDockSettings(const Config &config);
    void showFloatingDock(const Config &config);
    // Shown, and not parked on another workspace.
    bool dockShownHere() const;
    void dockTileClicked(const QString &name);
    void dockMoved(const FloatingDockPosition &position);
    bool isBusy();
    // The desktops back on the Desktop, with an alert when not all of them could come, then
    // the login item removed.
    void bringDesktopsBack();

    AppEnvironment m_env;
    QuietSessionEvents m_quietSession;
    std::vector<SessionEvents::Token> m_sessionObservers;
    std::shared_ptr<StatusItem> m_statusItem;
    FinderSurface m_surface;
    DocumentService m_store;
    // Held from the launch on, for the life of the process.
    DataLock m_dataLock;
    std::unique_ptr<DesktopSwapper> m_swapper;
    HotKeyCenter m_hotKeys;
    SpaceIdentifier m_spaceIdentifier;
    FloatingDock m_floatingDock;
    CornerWatcher m_cornerWatcher;
    DesktopBackground m_background;
    DesktopCueOverlay m_cueOverlay;
    SwitchTransitionOverlay m_switchOverlay;
    CleanupNotifier m_cleanupNotifier;
    TrashWatcher m_trashWatcher;
    Updater m_updater;
    MenuBarIconAnimator m_menuBarIcon;
    std::unique_ptr<Archiver> m_archiver;
    std::unique_ptr<DesktopWatcher> m_desktopWatcher;
    std::unique_ptr<SpaceFollower> m_spaceFollower;
    QMenu m_menu;
    ScrollCycleHUD m_scrollHUD;
    StatusMenuModel m_menuModel;
    std::unique_ptr<SettingsModel> m_settingsModel;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    std::unique_ptr<CreateWorkspaceWindowController> m_createWindow;
    std::optional<Scheduler::Token> m_schedulerTimer;
    std::optional<Scheduler::Token> m_scrollCommit;
    bool m_menuOpen = false;
    std::optional<StatusMenuItem> m_pendingChoice;
    std::unique_ptr<StatusAreaNotice> m_statusAreaNotice;
    // Last: it goes first, before what it works with.
    SwitchCoordinator m_switching{*this};
};

} // namespace quorvane
