#include "StatusPanelShade.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(StatusPanelShade, FollowsThePanelsOwnSwitchThenTheDesktopThenTheSessionsTheme)
{
    StatusPanelHints xfce{"XFCE", true, "Adwaita", {}, false};
    EXPECT_TRUE(statusPanelIsDark(xfce));
    xfce.xfcePanelDark = false; // the panel follows the theme
    EXPECT_FALSE(statusPanelIsDark(xfce));
    xfce.themeName = "Greybird-dark";
    EXPECT_TRUE(statusPanelIsDark(xfce));

    EXPECT_TRUE(statusPanelIsDark({"ubuntu:GNOME", std::nullopt, "Adwaita", "'default'", false}));
    EXPECT_FALSE(statusPanelIsDark({"KDE", std::nullopt, "Breeze", "'default'", true}));
    EXPECT_TRUE(statusPanelIsDark({"KDE", std::nullopt, "Breeze", "'prefer-dark'", false}));
    // Nothing known from the session: the application's own palette decides.
    EXPECT_TRUE(statusPanelIsDark({"", std::nullopt, "", "", true}));
    EXPECT_FALSE(statusPanelIsDark({"", std::nullopt, "", "", false}));
    EXPECT_NE(statusGlyphColour(true).lightness() > 128, statusGlyphColour(false).lightness() > 128);
}
