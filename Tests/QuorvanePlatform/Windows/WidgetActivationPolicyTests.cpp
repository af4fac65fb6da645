#include "Windows/WidgetActivationPolicy.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;
using Mode = ActivationPolicy::Mode;

TEST(WidgetActivationPolicy, AccessoryMakesTheOwnWindowsToolWindowsAndRegularRestoresThem)
{
    WidgetActivationPolicy policy;
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    QDialog dialog;
    QWidget overlay(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    QMenu menu;
    window.show();

    policy.setMode(Mode::accessory);
    EXPECT_EQ(policy.mode(), Mode::accessory);
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible()); // changing the flags does not close an open window
    EXPECT_EQ(dialog.windowType(), Qt::Tool);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(overlay.windowType(), Qt::Window);
    EXPECT_EQ(menu.windowType(), Qt::Popup);

    policy.setMode(Mode::accessory); // twice changes nothing further
    policy.setMode(Mode::regular);
    EXPECT_EQ(window.windowType(), Qt::Window);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(dialog.windowType(), Qt::Dialog);
    EXPECT_EQ(overlay.windowType(), Qt::Window);

    dialog.show();
    policy.activate();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(dialog.isVisible());
}
