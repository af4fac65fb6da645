#pragma once

#include "Wait.h"
#include "Workspaces/SpaceProvider.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>

namespace quorvane::test {

// Runs a tool of the X session (xdotool, xprop, setxkbmap) to its end; true when it succeeded.
inline bool run(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

// True when openbox and wmctrl, which the window-manager tests drive, are installed.
inline bool haveWindowManagerTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("wmctrl")).isEmpty();
}

// Starts openbox and shows the window titled so; true once the window manager has made it the
// active window. The root's properties outlast a window manager that ran before: only the
// window made active tells that this one runs and manages it.
inline bool showManagedWindow(QProcess &wm, QWidget &window, const QString &title)
{
    wm.start(QStringLiteral("openbox"), {});
    if (!wm.waitForStarted())
        return false;
    window.setWindowTitle(title);
    window.resize(200, 150);
    window.show();
    window.activateWindow();
    const QString id = QString::number(window.winId());
    return waitUntil([&] {
        return run("wmctrl", {"-i", "-a", id}) && LinuxSpaceProvider().activeWindow() == window.winId();
    },
                     10000);
}

// A second client of the same display, as another program would be.
struct OtherClient {
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    ~OtherClient() { xcb_disconnect(connection); }
    // True when the grab was granted.
    bool grab(xcb_keycode_t key, std::uint16_t modifiers)
    {
        xcb_generic_error_t *error = xcb_request_check(
            connection, xcb_grab_key_checked(connection, 0, root, modifiers, key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        const bool granted = !error;
        free(error);
        return granted;
    }
    void ungrab(xcb_keycode_t key, std::uint16_t modifiers)
    {
        xcb_ungrab_key(connection, key, root, modifiers);
        sync();
    }
    void sync()
    {
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
};

} // namespace quorvane::test
