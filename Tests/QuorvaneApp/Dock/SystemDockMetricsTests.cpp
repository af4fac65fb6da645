#include "Dock/SystemDockMetrics.h"
#include "FakePreferenceReader.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

DockMetrics metrics(double icon, double padV, double padH, double font, double maxLabel, double gap, bool vertical)
{
    DockMetrics m;
    m.icon = icon;
    m.padV = padV;
    m.padH = padH;
    m.labelFont = font;
    m.maxLabelWidth = maxLabel;
    m.edgeGap = gap;
    m.vertical = vertical;
    return m;
}

} // namespace

TEST(SystemDockMetrics, MeasuresFollowTheTileSize)
{
    EXPECT_EQ(DockMetrics(48, FloatingDockAxis::horizontal), metrics(48, 9, 17, 13, 120, 48, false));
    EXPECT_EQ(DockMetrics(16, FloatingDockAxis::horizontal), metrics(24, 5, 8, 10, 64, 48, false));
    EXPECT_EQ(DockMetrics(128, FloatingDockAxis::vertical), metrics(72, 9, 18, 13, 120, 72, true));
    EXPECT_EQ(DockMetrics(44, FloatingDockAxis::vertical).maxLabelWidth, 92); // round(92.4)
}

TEST(SystemDockMetrics, TileWidthLiesBetweenTheIconAndTheLabelCap)
{
    const auto fixed = [](double width) { return [width](const QString &, double) { return width; }; };
    const DockMetrics horizontal(48, FloatingDockAxis::horizontal);
    EXPECT_EQ(horizontal.tileWidth({}, fixed(0)), 64);
    EXPECT_EQ(horizontal.tileWidth({"A", "B"}, fixed(8)), 64);
    EXPECT_EQ(horizontal.tileWidth({"Projects"}, fixed(70.4)), 80); // round(80.4)
    EXPECT_EQ(horizontal.tileWidth({"A very long desktop name"}, fixed(500)), 120);
    const DockMetrics vertical(48, FloatingDockAxis::vertical);
    EXPECT_EQ(vertical.tileWidth({"A"}, fixed(5)), 58);
    // The real measure of a one-letter label is far below the icon.
    EXPECT_EQ(horizontal.tileWidth({"B"}), 64);
}

TEST(SystemDockMetrics, PreferencesReadWithDefaults)
{
    test::FakePreferenceReader prefs;
    EXPECT_EQ(SystemDock::tileSize(prefs), 48);
    EXPECT_EQ(SystemDock::edge(prefs), SystemDockEdge::bottom);
    EXPECT_FALSE(SystemDock::autohide(prefs));
    prefs.set(SystemDock::domain, "tilesize", 0);
    EXPECT_EQ(SystemDock::tileSize(prefs), 48);
    prefs.set(SystemDock::domain, "tilesize", -3.5);
    EXPECT_EQ(SystemDock::tileSize(prefs), 48);
    prefs.set(SystemDock::domain, "tilesize", 200);
    EXPECT_EQ(SystemDock::tileSize(prefs), 128);
    prefs.set(SystemDock::domain, "tilesize", 36.5);
    EXPECT_EQ(SystemDock::tileSize(prefs), 36.5);
    prefs.set(SystemDock::domain, "tilesize", QStringLiteral("64"));
    EXPECT_EQ(SystemDock::tileSize(prefs), 48);
    for (const char *text : {"top", "Left", ""}) {
        prefs.set(SystemDock::domain, "orientation", QString::fromLatin1(text));
        EXPECT_EQ(SystemDock::edge(prefs), SystemDockEdge::bottom) << text;
    }
    prefs.set(SystemDock::domain, "orientation", "left");
    EXPECT_EQ(SystemDock::edge(prefs), SystemDockEdge::left);
    prefs.set(SystemDock::domain, "orientation", "right");
    EXPECT_EQ(SystemDock::edge(prefs), SystemDockEdge::right);

    LinuxPreferenceReader session; // no counterpart on this platform: defaults
    EXPECT_EQ(SystemDock::tileSize(session), 48);
    EXPECT_EQ(SystemDock::edge(session), SystemDockEdge::bottom);
}
