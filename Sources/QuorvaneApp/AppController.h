#pragma once

#include "AppEnvironment.h"
#include "AppearanceMode.h"
#include "CleanupNotifier.h"
#include "CornerWatcher.h"
#include "DesktopCueOverlay.h"
#include "FileStateStore.h"
#include "FinderSurface.h"
#include "FloatingDock.h"
#include "HotKeyCenter.h"
#include "MenuBarIconAnimator.h"
#include "ScrollCycleHUD.h"
#include "SpaceFollower.h"
#include "SwitchTransitionOverlay.h"
#include "TrashWatcher.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace quorvane {

class Archiver;
class CreateWorkspaceWindowController;
class DesktopSwapper;
class DesktopWatcher;
class SettingsModel;
class SettingsWindowController;

// The one object that owns every long-lived component of the process. Construction touches no
// file, shows no window and starts no timer; launching does that (applicationDidFinishLaunching).
class AppController : public QObject {
    Q_OBJECT

public:
    explicit AppController(AppEnvironment environment, QObject *parent = nullptr);
    ~AppController() override;

    // Called by main once the event loop is about to run.
    void applicationDidFinishLaunching();

    // Built on first use; every later call returns the same object.
    DesktopSwapper &swapper();
    Archiver &archiver();
    DesktopWatcher &desktopWatcher();
    SpaceFollower &spaceFollower();

    const AppEnvironment &environment() const { return m_env; }
    StatusItem &statusItem() { return *m_statusItem; }
    FinderSurface &surface() { return m_surface; }
    FileStateStore &store() { return m_store; }
    HotKeyCenter &hotKeys() { return m_hotKeys; }
    FloatingDock &floatingDock() { return m_floatingDock; }
    CornerWatcher &cornerWatcher() { return m_cornerWatcher; }
    DesktopCueOverlay &cueOverlay() { return m_cueOverlay; }
    SwitchTransitionOverlay &switchOverlay() { return m_switchOverlay; }
    CleanupNotifier &cleanupNotifier() { return m_cleanupNotifier; }
    TrashWatcher &trashWatcher() { return m_trashWatcher; }
    MenuBarIconAnimator &menuBarIcon() { return m_menuBarIcon; }
    QMenu &menu() { return m_menu; }
    ScrollCycleHUD &scrollHUD() { return m_scrollHUD; }

    bool isSwapping = false;
    std::optional<QString> previousWorkspace;
    std::optional<AppearanceMode> appearanceBaseline;
    bool storeReadOnly = false;
    double schedulerInterval = 60;

    // The follower's question once a bound Space has settled. Following Spaces needs a Space
    // identifier, which this platform does not have: every settled Space is handled as done.
    SpaceFollowResult handleSpaceSettled(const QString &identity);
    // The Desktop watcher's report after its debounce. Sweeping arrivals is wired together
    // with the other timers and observers; until then a change is only noted.
    void onDesktopChanged();

private:
    void statusItemClicked(const StatusItem::Click &click);

    AppEnvironment m_env;
    std::shared_ptr<StatusItem> m_statusItem;
    FinderSurface m_surface;
    FileStateStore m_store;
    std::unique_ptr<DesktopSwapper> m_swapper;
    HotKeyCenter m_hotKeys;
    FloatingDock m_floatingDock;
    CornerWatcher m_cornerWatcher;
    DesktopCueOverlay m_cueOverlay;
    SwitchTransitionOverlay m_switchOverlay;
    CleanupNotifier m_cleanupNotifier;
    TrashWatcher m_trashWatcher;
    MenuBarIconAnimator m_menuBarIcon;
    std::unique_ptr<Archiver> m_archiver;
    std::unique_ptr<DesktopWatcher> m_desktopWatcher;
    std::unique_ptr<SpaceFollower> m_spaceFollower;
    QMenu m_menu;
    ScrollCycleHUD m_scrollHUD;
};

} // namespace quorvane
