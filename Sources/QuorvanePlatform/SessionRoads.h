#pragma once

#include "Keys/CustomShortcutList.h"

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace quorvane {

// What the running session offers the application, read once the application's display
// connection is open.
struct SessionOffer {
    // The application runs on an X server (its own session's, or Xwayland).
    bool x11 = false;
    // The session is a Wayland one (WAYLAND_DISPLAY).
    bool wayland = false;
    // The X server's root window names the window manager's workspaces (EWMH).
    bool rootWorkspaces = false;
    // The IPC socket sway or i3 publishes its workspaces on; empty without one.
    QString workspaceSocket;
    // KDE's global shortcut service (org.kde.kglobalaccel) runs on the session bus.
    bool shortcutService = false;
    // The desktop's own list of custom shortcuts, where its schema is installed.
    std::optional<CustomShortcutList::Dialect> shortcutList;
};

// How global hot keys reach the application.
enum class HotKeyRoad {
    shortcutService, // KDE's global shortcut service
    customShortcuts, // entries of the desktop's own custom shortcuts that run the command line
    keyGrabs,        // passive key grabs on the X server
    none             // every hot key is refused
};

// Where the window manager's workspaces are read.
enum class WorkspaceRoad {
    rootWindow, // the X server's root window (EWMH); unavailable without one
    socket      // the window manager's IPC socket
};

// The roads the application takes on a session.
struct PlatformRoads {
    HotKeyRoad hotKeys = HotKeyRoad::none;
    // The list the custom shortcuts go into, with HotKeyRoad::customShortcuts.
    std::optional<CustomShortcutList::Dialect> shortcutList;
    // The X key grabs of HotKeyRoad::keyGrabs fire only while an X11 window has focus (a Wayland
    // session's Xwayland).
    bool grabsNeedX11Focus = false;
    // The keys of shortcuts are named after the layout of the X server Qt runs on; else after
    // Xwayland's where there is one, else as on a US one.
    bool x11KeyLayout = false;
    WorkspaceRoad workspaces = WorkspaceRoad::rootWindow;
    // The socket of WorkspaceRoad::socket.
    QString workspaceSocket;
    // What this session's global shortcuts cannot do, for the Shortcuts section; empty: nothing.
    QString shortcutLimit;
};

// The session as the environment, the display connection and bus tell it. The shortcut service
// and the desktop's shortcut list are asked only where they could be taken (a Wayland session,
// or one without an X server), so that an X session's start waits for neither.
SessionOffer readSessionOffer(const QDBusConnection &bus);

// The roads for a session. Hot keys: on a Wayland session, or without an X server, through
// KDE's shortcut service where it runs (an X grab on a Wayland session fires only while an X11
// window has focus); else on a Wayland session through the desktop's own custom shortcuts; else
// as X key grabs; else none. Workspaces: through the window manager's socket only where the
// root window names none, so that the bindings stored on an X session (i3's) hold.
PlatformRoads choosePlatformRoads(const SessionOffer &offer);

} // namespace quorvane
