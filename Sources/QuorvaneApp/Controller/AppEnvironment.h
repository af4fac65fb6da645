#pragma once

#include "DesktopHosts/BackgroundHost.h"
#include "DesktopHosts/DesktopIconHost.h"
#include "Paths.h"
#include "SettingsViews/SettingsContext.h"
#include "Shared/AppInfo.h"

#include <QPoint>
#include <QUrl>

#include <functional>
#include <memory>

namespace quorvane {

class ActivationPolicy;
class AppCommandService;
class AlertPresenter;
class CompositorProbe;
class ScreenList;
class HotKeyRegistrar;
class KeyLayout;
class LoginItem;
class DesktopServices;
class Dialogs;
class PointerSource;
class RunningInstances;
class Scheduler;
class SessionEvents;
class SpaceProvider;
class StatusItem;
class UpdaterBackend;
class SystemAppearance;

// What the controller takes from outside: where it works, who it is, and the desktop services
// it talks to. main passes the Linux implementations; tests pass fakes rooted in a temporary
// home folder.
struct AppEnvironment {
    Paths paths;
    AppInfo info;
    std::function<std::shared_ptr<StatusItem>()> makeStatusItem;
    Scheduler *scheduler = nullptr;
    AlertPresenter *alerts = nullptr;
    ActivationPolicy *activation = nullptr;
    // Other running instances of this application, for the hand-over at start-up; none: this
    // process never waits for another.
    RunningInstances *instances = nullptr;
    // The session's light or dark mode; none: the session's own, built by the controller.
    SystemAppearance *appearance = nullptr;
    // Opens a folder or an address with the desktop's default handler; none: nothing opens.
    std::function<void(const QUrl &)> openUrl;
    // Ends the application (leaves its event loop); none: nothing happens.
    std::function<void()> terminate;
    // The update framework; none (this platform has none): nothing is updated in place.
    UpdaterBackend *updaterBackend = nullptr;
    // The desktop host that shows a cue below the icons as its own background; none: the
    // session has none and the cue is a window of its own.
    BackgroundHostFinder backgroundHost = {};
    // Whether a program draws the Desktop's icons in a window of its own; none: no program does.
    std::function<bool()> desktopIconWindow = {};
    // The desktop host whose store keeps the icons' positions; none: no positions.
    DesktopIconHostFinder iconHost = {};
    // The screens the overlays cover; none: the application's own screens, listed by the controller.
    ScreenList *screens = nullptr;
    // Whether a compositing manager draws translucent windows; none: asked of the display by the controller's own probe.
    CompositorProbe *compositor = nullptr;
    // Blocks the switch cover's fade-in between its frames; none: a plain thread sleep.
    std::function<void(double seconds)> coverSleep{};
    // Where the pointer is, in screen coordinates; none: the real pointer.
    std::function<QPoint()> pointer{};
    // The session's wake and workspace notifications; none: a session that reports nothing.
    SessionEvents *session = nullptr;
    // The windows' own questions and choosers, which never block.
    Dialogs *dialogs = nullptr;
    // The pointer, watched while a dock corner is set; none: the real pointer, read by the controller's own source.
    PointerSource *pointerSource = nullptr;
    // The window manager's workspaces; none: the root window's (EWMH), read by the controller's own provider.
    SpaceProvider *spaces = nullptr;
    // The window system's global key grabs; none: every hot key is refused.
    HotKeyRegistrar *hotKeyRegistrar = nullptr;
    // The keyboard layout that names the keys of shortcuts; none: the US layout.
    const KeyLayout *keyLayout = nullptr;
    // The file manager's reveal and the default handlers; none: nothing opens.
    DesktopServices *desktop = nullptr;
    // Starting at login; none: the application cannot register itself, nor has an item to remove.
    LoginItem *loginItem = nullptr;
    // What this session's global shortcuts cannot do, for the Shortcuts section; empty: nothing.
    QString shortcutLimit{};
    // How the session serves shortcuts, for the reason a refused one's row gives.
    ShortcutRoad shortcutRoad = ShortcutRoad::keys;
    // The command line's way in, published once the launch is complete; none: no requests
    // from outside.
    AppCommandService *commands = nullptr;
    // Shows a notification through the session's notification server; none: nothing is shown.
    std::function<void(const QString &title, const QString &body)> notify{};
    // Shows a notification that can be taken back: the function returned withdraws it; none:
    // notify shows it, and it stays until the user closes it.
    std::function<std::function<void()>(const QString &title, const QString &body)> notice{};
};

} // namespace quorvane
