#include "Dock/FloatingDock.h"
#include "FakePreferenceReader.h"
#include "FakeSpaceProvider.h"
#include "ManualScheduler.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct Composited final : CompositorProbe {
    bool compositing() const override { return true; }
};

struct FloatingDockTest : ::testing::Test {
    test::FakeSpaceProvider provider;
    SpaceIdentifier spaces{provider};
    test::ManualScheduler clock;
    test::FakePreferenceReader prefs;
    Composited compositor;
    FloatingDock dock{spaces, clock, &prefs, &compositor};
    std::vector<FloatingDockPosition> moves;
    const std::vector<DockSurface> tiles{{"A", "#FF0000", "/d/A", true}, {"B", "#00FF00", "/d/B", false}};

    void SetUp() override
    {
        provider.desktops(4, 0);
        dock.onMove = [this](const FloatingDockPosition &p) { moves.push_back(p); };
    }
    // The offscreen screen's visible frame, y-up (its origin is the primary screen's).
    QRectF visible() const { return *dock.visibleFrame(); }
    QRectF frame() const { return *dock.frame(); }
};

} // namespace

TEST_F(FloatingDockTest, ShowsAFramelessToolPanelOnTheCurrentWorkspace)
{
    EXPECT_FALSE(dock.isParkedElsewhere());
    dock.show(tiles, "#C79A5B", std::nullopt);
    ASSERT_TRUE(dock.panel());
    EXPECT_TRUE(dock.wantsVisible());
    EXPECT_TRUE(dock.panel()->isVisible());
    EXPECT_EQ(dock.panel()->windowTitle(), "Floating dock");
    EXPECT_TRUE(dock.panel()->windowFlags() & Qt::Tool);
    EXPECT_TRUE(dock.panel()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(dock.panel()->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(dock.panel()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(dock.model().surfaces(), tiles);
    EXPECT_EQ(dock.model().metrics(), DockMetrics(48, FloatingDockAxis::horizontal));
    EXPECT_EQ(dock.homeSpaceIdentity(), "ewmh-desktop-0");
    EXPECT_EQ(provider.windowDesktop(SpaceProvider::WindowId(dock.panel()->winId())), 0);
    EXPECT_EQ(dock.panel()->size(), dock.view()->sizeHint());
    // Placed by default: centred, edgeGap above the visible frame's bottom.
    EXPECT_DOUBLE_EQ(frame().top(), visible().top() + 48);
    EXPECT_NEAR(frame().center().x(), visible().center().x(), 0.5);
    EXPECT_TRUE(moves.empty());
}

TEST_F(FloatingDockTest, SavedPositionsSpanTheVisibleFrame)
{
    dock.show(tiles, "#C79A5B", FloatingDockPosition{0, 0});
    EXPECT_EQ(frame().topLeft(), visible().topLeft());
    dock.show(tiles, "#C79A5B", FloatingDockPosition{1, 1});
    EXPECT_EQ(frame().bottomRight(), visible().bottomRight());
    EXPECT_TRUE(moves.empty());
}

TEST_F(FloatingDockTest, AnAutoHiddenDockBelowWidensTheGap)
{
    EXPECT_EQ(dock.defaultGap(SystemDockEdge::bottom), 48);
    prefs.set(SystemDock::domain, "autohide", true);
    EXPECT_EQ(dock.defaultGap(SystemDockEdge::bottom), 48 + 70);
    EXPECT_EQ(dock.defaultGap(SystemDockEdge::left), 48);
    prefs.set(SystemDock::domain, "tilesize", 20);
    EXPECT_EQ(dock.defaultGap(SystemDockEdge::bottom), 48 + 20 + 16);

    // Vertical: the left edge unless the session dock sits there.
    dock.setAxis(FloatingDockAxis::vertical);
    dock.show(tiles, "#C79A5B", std::nullopt);
    EXPECT_DOUBLE_EQ(frame().left(), visible().left() + 48);
    EXPECT_NEAR(frame().center().y(), visible().center().y(), 0.5);
    prefs.set(SystemDock::domain, "orientation", "left");
    dock.show(tiles, "#C79A5B", std::nullopt);
    EXPECT_DOUBLE_EQ(frame().right(), visible().right() - 48);
}

TEST_F(FloatingDockTest, FlipsTakeTheirShareOfTheDuration)
{
    const QRectF v(0, 0, 800, 600);
    const QRectF from(100, 0, 200, 100);
    EXPECT_DOUBLE_EQ(dock.duration(from, from.translated(0, 500), v), 0.12);
    EXPECT_DOUBLE_EQ(dock.duration(from, from, v), 0.3 * 0.12);
    EXPECT_DOUBLE_EQ(dock.duration(from, from, QRectF(0, 0, 800, 100)), 0.12);
    dock.setFlipDuration(0.45);
    EXPECT_DOUBLE_EQ(dock.duration(from, from.translated(0, 125), v), 0.45 * (0.3 + 0.7 * 0.5));
}

TEST_F(FloatingDockTest, AFlipMirrorsThePanelAndReportsOnceWhenDone)
{
    dock.show(tiles, "#C79A5B", FloatingDockPosition{0.5, 0});
    EXPECT_EQ(dock.model().half(), DockHalf::lower);
    dock.flip(DockHalf::lower); // already there
    EXPECT_FALSE(dock.flipAnimation());

    const QRectF before = frame();
    dock.flip(DockHalf::upper);
    EXPECT_EQ(dock.model().half(), DockHalf::upper); // the arrows change at once
    ASSERT_TRUE(dock.flipAnimation());
    EXPECT_EQ(dock.flipAnimation()->duration(), 120);
    dock.flipAnimation()->setCurrentTime(60);
    EXPECT_TRUE(moves.empty()); // the dock's own moves report nothing
    dock.flipAnimation()->setCurrentTime(120);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_NEAR(moves[0].nx, 0.5, 0.01);
    EXPECT_EQ(moves[0].ny, 1);
    EXPECT_DOUBLE_EQ(frame().bottom(), visible().bottom());
    EXPECT_DOUBLE_EQ(frame().left(), before.left());
}

TEST_F(FloatingDockTest, OneReportPerUserDragNoneForTheDocksOwnMoves)
{
    dock.show(tiles, "#C79A5B", FloatingDockPosition{0, 0});
    clock.advance(1);
    EXPECT_TRUE(moves.empty());
    // The user drags the panel: several moves, one report once it rests.
    for (int x = 10; x <= 50; x += 10)
        dock.panel()->move(x, 20);
    clock.advance(0.1);
    EXPECT_TRUE(moves.empty());
    clock.advance(FloatingDock::userMoveQuiet);
    ASSERT_EQ(moves.size(), 1u);
    const double aw = visible().width() - frame().width();
    EXPECT_NEAR(moves[0].nx, 50 / aw, 1e-9);
    EXPECT_EQ(dock.model().half(), DockHalf::upper);

    // The window system echoing the dock's own placement is no user move.
    dock.show(tiles, "#C79A5B", FloatingDockPosition{0, 0});
    const QPoint own = dock.panel()->pos();
    dock.panel()->move(own + QPoint(0, 1));
    dock.panel()->move(own);
    clock.advance(1);
    EXPECT_EQ(moves.size(), 2u); // the one-pixel nudge was the user's
}

TEST_F(FloatingDockTest, ANewAxisReplacesThePanelAtTheNextReload)
{
    dock.reload(tiles, "#000000"); // never shown: nothing, not even the model
    EXPECT_TRUE(dock.model().surfaces().empty());
    dock.setAxis(FloatingDockAxis::horizontal);
    EXPECT_FALSE(dock.needsReplacement());

    dock.show(tiles, "#C79A5B", FloatingDockPosition{1, 1});
    dock.reload(tiles, "#C79A5B");
    EXPECT_TRUE(moves.empty()); // still on screen: nothing to report
    dock.model().setTileFrame("stale", QRectF());
    dock.setAxis(FloatingDockAxis::vertical);
    EXPECT_TRUE(dock.needsReplacement());
    EXPECT_FALSE(dock.model().tileFrames().contains("stale"));
    dock.reload({tiles[0]}, "#C79A5B");
    EXPECT_FALSE(dock.needsReplacement());
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_DOUBLE_EQ(frame().left(), visible().left() + 48);
    EXPECT_EQ(dock.model().surfaces().size(), 1u);

    dock.hide();
    EXPECT_FALSE(dock.panel()->isVisible());
    dock.reload(tiles, "#C79A5B");
    EXPECT_EQ(dock.model().surfaces().size(), 1u);
}

TEST_F(FloatingDockTest, ThePanelStaysWithItsHomeWorkspace)
{
    dock.show(tiles, "#C79A5B", std::nullopt);
    const auto window = SpaceProvider::WindowId(dock.panel()->winId());
    EXPECT_FALSE(dock.isParkedElsewhere());
    provider.desktops(4, 1); // the user went to another workspace
    EXPECT_TRUE(dock.isParkedElsewhere());
    dock.activeSpaceChanged();
    EXPECT_EQ(provider.windowDesktop(window), 0); // left where it was
    EXPECT_GE(clock.pendingCount(), 6u);
    clock.advance(0.5);
    dock.activeSpaceChanged(); // a second change cancels the first one's remaining re-checks
    EXPECT_EQ(clock.pendingCount(), 6u);
    clock.advance(2);
    EXPECT_EQ(clock.pendingCount(), 0u);

    provider.desktops(4, 0);
    EXPECT_FALSE(dock.isParkedElsewhere());
    dock.hide();
    EXPECT_FALSE(dock.isParkedElsewhere());

    // Without workspaces, the panel's own visibility decides.
    provider.isAvailable = false;
    dock.show(tiles, "#C79A5B", std::nullopt);
    EXPECT_FALSE(dock.homeSpaceIdentity());
    EXPECT_FALSE(dock.isParkedElsewhere());
}

TEST_F(FloatingDockTest, PinningGivesUpAfterTwelveAttempts)
{
    // A window manager that never moves the panel.
    struct Stubborn final : SpaceProvider {
        bool available() const override { return true; }
        std::optional<QVariantList> managedDisplaySpaces() const override { return std::nullopt; }
        std::optional<QString> mainDisplayIdentifier() const override { return std::nullopt; }
        std::optional<std::int64_t> windowDesktop(WindowId) const override { return 3; }
        std::optional<std::int64_t> currentDesktop() const override { return 0; }
        void moveToCurrentDesktop(WindowId) override { ++asked; }
        int asked = 0;
    } stubborn;
    SpaceIdentifier identifier(stubborn);
    FloatingDock stuck(identifier, clock, &prefs, &compositor);
    stuck.show(tiles, "#C79A5B", std::nullopt);
    clock.advance(0.05 * 11 + 0.01);
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(0.05);
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_EQ(stubborn.asked, 1 + 12);
}
