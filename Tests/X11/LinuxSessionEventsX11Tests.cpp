#include "Session/LinuxSessionEvents.h"

#include "Windows/X11Connection.h"
#include "Workspaces/SpaceProvider.h"
#include "X11Support.h"

#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

std::uint32_t rootEventMask(xcb_connection_t *c)
{
    xcb_get_window_attributes_reply_t *reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, x11::rootWindow()), nullptr);
    const std::uint32_t mask = reply ? reply->your_event_mask : 0;
    free(reply);
    return mask;
}

bool setCurrentDesktop(int index)
{
    return run("xprop", {"-root", "-f", "_NET_CURRENT_DESKTOP", "32c", "-set", "_NET_CURRENT_DESKTOP", QString::number(index)});
}

} // namespace

TEST(LinuxSessionEventsX11, ACurrentDesktopChangeReachesEveryObserverAndNothingElseDoes)
{
    xcb_connection_t *c = x11::connection();
    ASSERT_NE(c, nullptr);
    const std::uint32_t before = rootEventMask(c);

    LinuxSessionEvents session{QDBusConnection(QStringLiteral("no bus"))};
    ASSERT_TRUE(session.watchesWorkspaces());
    // What Qt selected on the root stays selected; property changes are added.
    EXPECT_EQ(rootEventMask(c), before | XCB_EVENT_MASK_PROPERTY_CHANGE);

    int first = 0, second = 0, wakes = 0;
    session.observeWorkspaceChange([&] { ++first; });
    const auto token = session.observeWorkspaceChange([&] { ++second; });
    session.observeWake([&] { ++wakes; });

    ASSERT_TRUE(setCurrentDesktop(1));
    EXPECT_TRUE(waitUntil([&] { return first == 1 && second == 1; }));
    session.removeObserver(token);
    ASSERT_TRUE(setCurrentDesktop(2));
    EXPECT_TRUE(waitUntil([&] { return first == 2; }));

    // Another root property is no workspace change.
    ASSERT_TRUE(run("xprop", {"-root", "-f", "QUORVANE_TEST", "8s", "-set", "QUORVANE_TEST", "x"}));
    serveFor(300);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(wakes, 0);
}

// Under a real window manager, the active window going full screen and back changes the kind of
// the current Space without a new workspace: each turn reaches the observers once.
TEST(LinuxSessionEventsX11, TheActiveWindowGoingFullScreenAndBackIsAWorkspaceChange)
{
    if (!haveWindowManagerTools())
        GTEST_SKIP() << "openbox or wmctrl is not installed";
    QProcess wm;
    QWidget window;
    ASSERT_TRUE(showManagedWindow(wm, window, QStringLiteral("full-screen-session-probe")));
    const QString id = QString::number(window.winId());

    LinuxSessionEvents session{QDBusConnection(QStringLiteral("no bus"))};
    int changes = 0;
    session.observeWorkspaceChange([&] { ++changes; });
    ASSERT_TRUE(run("wmctrl", {"-i", "-r", id, "-b", "add,fullscreen"}));
    EXPECT_TRUE(waitUntil([&] { return changes == 1; }, 10000));
    ASSERT_TRUE(run("wmctrl", {"-i", "-r", id, "-b", "remove,fullscreen"}));
    EXPECT_TRUE(waitUntil([&] { return changes == 2; }, 10000));
    // Another state of the active window is no change of the Space.
    ASSERT_TRUE(run("wmctrl", {"-i", "-r", id, "-b", "add,above"}));
    serveFor(500);
    EXPECT_EQ(changes, 2);

    window.close();
    wm.terminate();
    wm.waitForFinished(3000);
}
