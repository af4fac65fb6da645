#include "Tray/StatusPanelShade.h"
#include "Wait.h"
#include "Work/HostWork.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

using namespace quorvane;

TEST(StatusPanelShade, FollowsThePanelsOwnSwitchThenTheDesktopThenTheSessionsTheme)
{
    StatusPanelHints xfce{"XFCE", true, "Adwaita", {}};
    EXPECT_TRUE(statusPanelIsDark(xfce));
    xfce.xfcePanelDark = false; // the panel follows the theme
    EXPECT_FALSE(statusPanelIsDark(xfce));
    xfce.themeName = "Greybird-dark";
    EXPECT_TRUE(statusPanelIsDark(xfce));

    EXPECT_TRUE(statusPanelIsDark({"ubuntu:GNOME", std::nullopt, "Adwaita", "'default'"}));
    EXPECT_FALSE(statusPanelIsDark({"KDE", std::nullopt, "Breeze", "'default'"}));
    EXPECT_TRUE(statusPanelIsDark({"KDE", std::nullopt, "Breeze", "'prefer-dark'"}));
    // Plasma's panel follows its colour scheme; Cinnamon's theme draws a dark panel but where
    // it is a light one.
    EXPECT_TRUE(statusPanelIsDark({"KDE", std::nullopt, "Breeze", "'default'", "BreezeDark"}));
    EXPECT_FALSE(statusPanelIsDark({"KDE", std::nullopt, "Breeze-dark", "'prefer-dark'", "BreezeLight"}));
    EXPECT_TRUE(statusPanelIsDark({"X-Cinnamon", std::nullopt, "Mint-Y", "'default'", {}, "cinnamon"}));
    EXPECT_TRUE(statusPanelIsDark({"X-Cinnamon", std::nullopt, "Adwaita", "'default'", {}, ""}));
    EXPECT_FALSE(statusPanelIsDark({"X-Cinnamon", std::nullopt, "Mint-Y", "'default'", {}, "Mint-Y-Light"}));
    // On those panels the glyph's colour reads at 3:1 or more: Plasma's #E8ECF1, Cinnamon's #555555.
    EXPECT_GE(contrastRatio(statusGlyphColour(false), QColor("#E8ECF1")), 3.0);
    EXPECT_GE(contrastRatio(statusGlyphColour(true), QColor("#555555")), 3.0);
    EXPECT_GE(contrastRatio(statusGlyphColourOn(QColor("#555555")), QColor("#555555")), 3.0);
    // Nothing known from the session: a light panel (the application's look says nothing).
    EXPECT_FALSE(statusPanelIsDark({"", std::nullopt, "", ""}));
    EXPECT_NE(statusGlyphColour(true).lightness() > 128, statusGlyphColour(false).lightness() > 128);
}

// The panels the glyph could not be seen on: whatever colour they really show, the glyph's
// colour stands out at 3:1 or more.
TEST(StatusPanelShade, TheGlyphStandsOutOnWhatThePanelShows)
{
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21, 0.01);
    EXPECT_NEAR(contrastRatio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1, 0.001);
    for (const QColor panel : {QColor("#F6F5F4"), QColor("#2B2B2B"), QColor("#3C3C3C"), QColor("#D6D6D6"),
                               QColor("#808080"), QColor("#1D1D1F"), QColor("#4A90D9")}) {
        const QColor glyph = statusGlyphColourOn(panel);
        EXPECT_GE(contrastRatio(glyph, panel), 3.0) << panel.name().toStdString();
    }
    EXPECT_EQ(statusGlyphColourOn(QColor("#F6F5F4")), statusGlyphColour(false));
    EXPECT_EQ(statusGlyphColourOn(QColor("#2B2B2B")), statusGlyphColour(true));
}

TEST(StatusPanelShade, APanelsColourIsWhatMostOfItsOpaquePixelsShow)
{
    QImage strip(40, 10, QImage::Format_ARGB32);
    strip.fill(QColor("#F6F5F4"));
    for (int x = 0; x < 12; ++x) // a neighbour's dark icon
        for (int y = 0; y < 10; ++y)
            strip.setPixelColor(x, y, Qt::black);
    for (int x = 30; x < 40; ++x) // a cleared part, not counted
        for (int y = 0; y < 10; ++y)
            strip.setPixelColor(x, y, Qt::transparent);
    EXPECT_EQ(dominantColour(strip), QColor("#F6F5F4"));
    strip.fill(Qt::transparent);
    EXPECT_FALSE(dominantColour(strip).isValid());
}

// The session's settings are read by child processes: off the event loop, which goes on serving
// its events, and the answer comes back to the GUI thread.
TEST(StatusPanelShade, TheSessionIsReadAwayFromTheEventLoop)
{
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    QFile tool(bin.filePath("xfconf-query"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\nsleep 0.3\ncase \"$4\" in /panels/dark-mode) echo true ;; *) echo Greybird-dark ;; esac\n");
    tool.close();
    tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    HostWork::setInline(false);

    int ticks = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    std::optional<StatusPanelHints> hints;
    StatusPanelHints::probeLater([&](const StatusPanelHints &read) { hints = read; });
    EXPECT_FALSE(hints);
    EXPECT_TRUE(test::waitUntil([&] { return hints.has_value(); }, 5000));
    HostWork::drain();
    HostWork::setInline(true);
    qputenv("PATH", path);
    qputenv("XDG_CURRENT_DESKTOP", desktop);

    EXPECT_GE(ticks, 10) << "two reads of 0.3 s each, the event loop served throughout";
    ASSERT_TRUE(hints);
    EXPECT_EQ(hints->xfcePanelDark, true);
    EXPECT_EQ(hints->themeName, "Greybird-dark");
}
