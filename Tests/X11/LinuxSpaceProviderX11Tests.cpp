#include "Workspaces/SpaceProvider.h"

#include "X11Support.h"

#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The kind of the current Space as the provider describes it; -1 when it names none.
int currentSpaceType()
{
    const auto displays = LinuxSpaceProvider().managedDisplaySpaces();
    if (!displays || displays->isEmpty())
        return -1;
    const QVariantMap current = displays->first().toMap().value(QStringLiteral("Current Space")).toMap();
    return current.isEmpty() ? -1 : current.value(QStringLiteral("type")).toInt();
}

} // namespace

// A real window made full screen by a real window manager turns the workspace into a
// full-screen Space, and back when it leaves full screen or is minimised.
TEST(LinuxSpaceProviderX11, AFullScreenActiveWindowMakesAFullScreenSpace)
{
    if (!haveWindowManagerTools())
        GTEST_SKIP() << "openbox or wmctrl is not installed";
    QProcess wm;
    QWidget window;
    ASSERT_TRUE(showManagedWindow(wm, window, QStringLiteral("full-screen-probe")));
    ASSERT_TRUE(LinuxSpaceProvider().available());
    EXPECT_EQ(currentSpaceType(), 0);
    const QString id = QString::number(window.winId());

    ASSERT_TRUE(run("wmctrl", {"-i", "-r", id, "-b", "add,fullscreen"}));
    EXPECT_TRUE(waitUntil([] { return currentSpaceType() == 4; }, 10000));
    const QVariantMap display = LinuxSpaceProvider().managedDisplaySpaces()->first().toMap();
    EXPECT_EQ(display.value(QStringLiteral("Current Space")).toMap().value(QStringLiteral("uuid")),
              LinuxSpaceProvider::identity(*LinuxSpaceProvider().currentDesktop()));

    ASSERT_TRUE(run("wmctrl", {"-i", "-r", id, "-b", "remove,fullscreen"}));
    EXPECT_TRUE(waitUntil([] { return currentSpaceType() == 0; }, 10000));

    ASSERT_TRUE(run("wmctrl", {"-i", "-r", id, "-b", "add,fullscreen"}));
    ASSERT_TRUE(waitUntil([] { return currentSpaceType() == 4; }, 10000));
    // Qt must have learnt of the full screen the window manager set first: a minimise asked
    // before that is lost when Qt's state catches up.
    ASSERT_TRUE(waitUntil([&] { return window.isFullScreen(); }, 10000));
    window.showMinimized();
    EXPECT_TRUE(waitUntil([] { return currentSpaceType() == 0; }, 10000));

    window.close();
    wm.terminate();
    wm.waitForFinished(3000);
}
