#pragma once

#include "AppearanceMode.h"
#include "Calendar/CleanupNotifier.h"
#include "Controller/AppEnvironment.h"
#include "Controller/AppWindows.h"
#include "Controller/DockCoordinator.h"
#include "Controller/LaunchCoordinator.h"
#include "Controller/MenuBarIconAnimator.h"
#include "Controller/QuitAndUninstall.h"
#include "Controller/RequestGate.h"
#include "Controller/SessionState.h"
#include "Controller/StatusMenuController.h"
#include "Controller/SwitchCoordinator.h"
#include "Desktop/DesktopWatcher.h"
#include "Desktop/FinderSurface.h"
#include "Dock/FloatingDock.h"
#include "Install/TrashWatcher.h"
#include "Install/Updater.h"
#include "Overlays/CueImageCache.h"
#include "Overlays/DesktopBackground.h"
#include "Overlays/DesktopCueOverlay.h"
#include "Overlays/SwitchTransitionOverlay.h"
#include "Session/SessionEvents.h"
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
    void applicationDidFinishLaunching() { m_launch.start(); }
    // The ordered start-up; every step runs even when an earlier one failed.
    void completeLaunch() { m_launch.completeLaunch(); }

    // Switching: every requester asks here, and the request waits its turn at the gate. When
    // taken, it goes on to the switch's coordinator, which does nothing when the target is
    // already active, the session is read-only or the Desktop folder is not a safe one; a target
    // archived or deleted meanwhile is not switched to.
    void performSwitch(const QString &target, bool userInitiated);
    // Both sweeps in the configured order, then the menu and the settings model refresh; waits
    // for a switch under way.
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
    // The one way in for every request that switches or changes the folders.
    RequestGate &requests() { return m_gate; }
    // The switch under way, the last desktop, read-only, the desktops folder's lock.
    SessionState &sessionState() { return m_session; }
    const SessionState &sessionState() const { return m_session; }

    // Scrolling over the status item steps through the live desktops; 0.4 s after the last
    // counted event the selected one becomes active.
    static constexpr double scrollStepPoints = 90;
    static constexpr double scrollCommitDelay = 0.4;
    // The gesture under way: the ring fixed as it began, the selected desktop, the points not
    // yet counted as a step.
    struct ScrollGesture {
        bool scrolling = false;
        QStringList ring;
        std::optional<int> index;
        double accum = 0;
    };
    const ScrollGesture &scrollGesture() const { return m_scroll; }

    // The coordinators of the launch, the status menu, the application's windows, the dock
    // and the corner, and quitting and the uninstall.
    LaunchCoordinator &launch() { return m_launch; }
    StatusMenuController &statusMenu() { return m_statusMenu; }
    AppWindows &windows() { return m_windows; }
    DockCoordinator &dock() { return m_dock; }
    QuitAndUninstall &quitAndUninstall() { return m_quitAndUninstall; }

    // The requests of the menu, the hot keys and the command line; each waits its turn at the
    // gate and is resolved when taken, against the document the switch before it left.
    // Hides the active desktop behind the blank one, or brings back the expand target.
    void toggleCollapse();
    void toggleScreenshotFilteringPause();
    // One step through the switchable desktops, wrapping at both ends; from the blank or a
    // temporary desktop, forward starts at the first and backward at the last.
    void cycle(int step);
    // The option-click carousel: its live stops, else the switchable desktops.
    void cycleOptionClick();
    // Back to the desktop active before the last switch, while it is still live.
    void switchToLastDesktop();
    // A desktop's own shortcut: switches while a live desktop has that name.
    void switchToLiveDesktop(const QString &name);
    void switchWorkspace(const QString &name);
    // What a pressed hot key asks for: a desktop's switch, or one of the global actions.
    void hotKeyTriggered(const HotKeyAssignment::Owner &owner);
    // Scrolling over the status item steps through the live desktops; 0.4 s after the last
    // counted event the selected one becomes active.
    void handleScroll(const StatusItem::Wheel &wheel);

    // Built on first use; every later call returns the same object.
    DesktopSwapper &swapper();
    Archiver &archiver();
    // Built with the controller; each follows the document.
    DesktopWatcher &desktopWatcher() { return *m_desktopWatcher; }
    SpaceFollower &spaceFollower() { return *m_spaceFollower; }

    const AppEnvironment &environment() const { return m_env; }
    FinderSurface &surface() { return m_surface; }
    // The document's one owner and writer; the store every component of the run is given.
    DocumentService &store() { return m_store; }
    HotKeyCenter &hotKeys() { return m_hotKeys; }
    FloatingDock &floatingDock() { return m_floatingDock; }
    CornerWatcher &cornerWatcher() { return m_cornerWatcher; }
    DesktopCueOverlay &cueOverlay() { return m_cueOverlay; }
    SwitchTransitionOverlay &switchOverlay() { return m_switchOverlay; }
    TrashWatcher &trashWatcher() { return m_trashWatcher; }
    Updater &updater() { return m_updater; }
    MenuBarIconAnimator &menuBarIcon() { return m_menuBarIcon; }
    ScrollCycleHUD &scrollHUD() { return m_scrollHUD; }
    SpaceIdentifier &spaceIdentifier() { return m_spaceIdentifier; }
    StatusItem &statusItem() { return *m_statusItem; }
    const std::shared_ptr<StatusItem> &statusItemHandle() const { return m_statusItem; }
    CleanupNotifier &cleanupNotifier() { return m_cleanupNotifier; }
    DesktopBackground &background() { return m_background; }
    CueImageCache &cueImages() { return m_cueImages; }
    SystemAppearance &appearance();
    SessionEvents &sessionEvents() { return m_env.session ? *m_env.session : m_quietSession; }

    // Whether a switch is under way.
    bool swapInProgress() const { return m_session.swapping(); }
    // The desktop active before the last switch.
    const std::optional<QString> &lastDesktop() const { return m_session.previous(); }
    // The document is of a newer version: nothing is written or moved in this session.
    bool readOnly() const { return m_session.readOnly(); }
    // A switch is under way or a journal waits for one to be finished (the Parts' busy test).
    bool isBusy();
    // The Desktop folder is the home folder or holds the desktops folder: nothing may move.
    bool desktopIsUnsafe() const { return !m_env.paths.desktopIsSafe(); }
    // How often the desktop timers are looked at, in seconds.
    static constexpr double schedulerInterval = 60;

    // The follower's question once a Space has settled: switches to the desktop bound to it.
    // Done while a journal waits or nothing is bound to it; while a switch is under way the
    // follow waits its turn at the gate and is resolved against the workspace then current.
    SpaceFollowResult handleSpaceSettled(const QString &identity);
    // The Desktop watcher's report after its debounce: sweeps the arrivals, once no switch runs.
    void onDesktopChanged();

    SettingsModel *settingsModel() const { return m_settingsModel.get(); }
    // The one settings model of the run, built on first use with the controller's callbacks.
    SettingsModel &ensureSettingsModel();
    // The settings model's onPreviewTransition: plays the chosen switch transition once.
    void previewSwitchTransition();

    // The document as the service holds it (the default one while it cannot be read, which the
    // service's state says); the service reads config.json again only after it changed on disk.
    const Config &document() { return m_store.document(); }
    // Loads, edits and saves the document, dropping a failure: the controller's saves outside a
    // switch (remembered flags, the visit stamp) never interrupt the user.
    void editQuietly(const std::function<void(Config &)> &edit);
    void sweepInOverruleOrder(const Config &config);
    // The 60-second job, also run on wake: completes due desktop timers and, if any, catches
    // the menu, the settings model and the reminders up; waits for a switch under way.
    void runSchedulerJob();
    // Completes due desktop timers unless a switch is pending or the session is read-only.
    QStringList fireDueTimersIfSafe();
    // The settings window once it has been opened.
    QWidget *openSettingsWindow() const { return m_windows.settingsWindow(); }
    void openSettings() { m_windows.openSettings(); }
    void openCalendar() { m_windows.openCalendar(); }
    void rebuildMenu() { m_statusMenu.rebuild(); }
    void reloadFloatingDock() { m_dock.reload(); }
    void toggleFloatingDock() { m_dock.toggle(); }
    void updateCueOverlay(const std::optional<QString> &name);
    // Small helpers for what the start-up calls of the timers and observers.
    void startScheduler();
    void observeWake();
    void observeActiveSpace();
    // Takes the command line's requests from now on.
    void publishCommands();

private:
    // The window manager's workspace changed: strips hidden in full-screen Spaces go, the
    // floating dock re-asserts its Space.
    void activeSpaceChanged();
    // The command line's requests: where this instance stands, and an accepted request run on
    // the road of the matching hot key.
    AppCommandState commandState();
    void runCommand(const AppCommand &command);
    // What the gate's requests do once taken: resolved against the document as it is then.
    // A target archived or deleted since is not switched to.
    void switchNow(const QString &target, bool userInitiated);
    SpaceFollowResult followNow(const QString &identity);
    void switchToLiveDesktopNow(const QString &name);
    void cycleNow(int step);
    void cycleOptionClickNow();
    void toggleCollapseNow();
    void switchToLastDesktopNow();
    void sweepArrivalsNow();
    void runSchedulerJobNow();
    void advanceScroll(int step);
    void scheduleScrollCommit();
    void commitScroll();

    ScrollGesture m_scroll;
    // This platform's own screens, compositor probe, pointer, workspaces and session look, built
    // once here for what the environment leaves out (main passes its own; most tests do not).
    struct OwnServices {
        std::unique_ptr<ScreenList> screens;
        std::unique_ptr<CompositorProbe> compositor;
        std::unique_ptr<PointerSource> pointer;
        std::unique_ptr<SpaceProvider> spaces;
        std::unique_ptr<SystemAppearance> appearance;
    };
    static AppEnvironment completed(AppEnvironment environment, OwnServices &own);
    OwnServices m_own;
    // Every service named: those the environment left out point into m_own.
    AppEnvironment m_env;
    QuietSessionEvents m_quietSession;
    std::vector<SessionEvents::Token> m_sessionObservers;
    std::shared_ptr<StatusItem> m_statusItem;
    FinderSurface m_surface;
    DocumentService m_store;
    SessionState m_session;
    RequestGate m_gate{m_session};
    std::unique_ptr<DesktopSwapper> m_swapper;
    HotKeyCenter m_hotKeys;
    SpaceIdentifier m_spaceIdentifier;
    FloatingDock m_floatingDock;
    CornerWatcher m_cornerWatcher;
    DesktopBackground m_background;
    // The decoded cue pictures of the overlay, the settings model and the wallpaper editor.
    CueImageCache m_cueImages;
    DesktopCueOverlay m_cueOverlay;
    SwitchTransitionOverlay m_switchOverlay;
    CleanupNotifier m_cleanupNotifier;
    TrashWatcher m_trashWatcher;
    Updater m_updater;
    MenuBarIconAnimator m_menuBarIcon;
    std::unique_ptr<Archiver> m_archiver;
    std::unique_ptr<DesktopWatcher> m_desktopWatcher;
    std::unique_ptr<SpaceFollower> m_spaceFollower;
    ScrollCycleHUD m_scrollHUD;
    std::unique_ptr<SettingsModel> m_settingsModel;
    std::optional<Scheduler::Token> m_schedulerTimer;
    std::optional<Scheduler::Token> m_scrollCommit;
    // Last: each follows the document service and reaches into the components above.
    StatusMenuController m_statusMenu{*this, m_store};
    DockCoordinator m_dock{*this, m_store};
    AppWindows m_windows{*this};
    QuitAndUninstall m_quitAndUninstall{*this};
    LaunchCoordinator m_launch{*this};
    // Last: it goes first, before what it works with.
    SwitchCoordinator m_switching{*this};
};

} // namespace quorvane
