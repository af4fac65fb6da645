#include "Windows/CompositorProbe.h"
#include "Windows/WindowLevel.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;

TEST(WindowLevel, OverlaysPassInputAndStayBelowOrAbove)
{
    QWidget cue;
    applyWindowLevel(&cue, WindowLevel::desktop);
    EXPECT_TRUE(cue.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(cue.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(cue.windowFlags().testFlag(Qt::WindowStaysOnBottomHint));
    EXPECT_FALSE(cue.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(cue.testAttribute(Qt::WA_ShowWithoutActivating));

    QWidget calendar;
    applyWindowLevel(&calendar, WindowLevel::floating, {.clickThrough = false, .focusable = true, .sticky = false});
    EXPECT_FALSE(calendar.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_FALSE(calendar.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(calendar.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(calendar.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(CompositorProbe, TheOffscreenPlatformComposes)
{
    EXPECT_TRUE(LinuxCompositorProbe().compositing());
}
