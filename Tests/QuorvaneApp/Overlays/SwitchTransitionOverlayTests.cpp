#include "FakeScreenList.h"
#include "FakeWindowFader.h"
#include "ManualScheduler.h"
#include "Overlays/SweepGeometry.h"
#include "Overlays/SwitchTransitionOverlay.h"
#include "Work/QtScheduler.h"

#include "Windows/WindowLevel.h"
#include <QCoreApplication>
#include <QImage>
#include <QRegion>

#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::FakeCompositor;
using quorvane::test::FakeScreenList;
using quorvane::test::ManualScheduler;

namespace {

struct TransitionTest : ::testing::Test {
    ManualScheduler scheduler;
    FakeScreenList screens;
    FakeCompositor compositor;
    std::vector<double> sleeps;
    test::FakeWindowFader fader;
    SwitchTransitionOverlay overlay{scheduler, screens, compositor, [this](double s) { sleeps.push_back(s); }, &fader};

    std::vector<double> coverOpacities() const
    {
        std::vector<double> result;
        for (const auto &window : overlay.windows())
            result.push_back(windowOpacity(window.get()));
        return result;
    }
};

} // namespace

TEST(SweepGeometry, TheWorkedExampleAndTheNarrowestBand)
{
    const auto tilted = SweepGeometry::forScreen({1440, 900}, 0.45, -20);
    EXPECT_FALSE(tilted.vertical);
    EXPECT_DOUBLE_EQ(tilted.travel, 1440);
    EXPECT_DOUBLE_EQ(tilted.bandWidth, 648);
    EXPECT_NEAR(tilted.start.x(), 1824.79, 0.01);
    EXPECT_NEAR(tilted.start.y(), 450, 1e-9);
    EXPECT_NEAR(tilted.end.x(), -384.79, 0.01);
    EXPECT_NEAR(tilted.maskHeight, 2716.99, 0.01);
    EXPECT_DOUBLE_EQ(tilted.rotationDegrees, 20);

    const auto level = SweepGeometry::forScreen({1440, 900}, 0.45, 90);
    EXPECT_TRUE(level.vertical);
    EXPECT_DOUBLE_EQ(level.bandWidth, 405);
    EXPECT_NEAR(level.start.y(), 1142.5, 1e-9); // from the top
    EXPECT_NEAR(level.end.y(), -242.5, 1e-9);
    EXPECT_NEAR(level.start.x(), 720, 1e-9);

    EXPECT_DOUBLE_EQ(SweepGeometry::forScreen({1440, 900}, 0, 0).bandWidth, 120);
    // A tie travels horizontally, right to left, whichever way the band leans.
    for (double angle : {45.0, 20.0, -20.0}) {
        const auto g = SweepGeometry::forScreen({1440, 900}, 0.45, angle);
        EXPECT_FALSE(g.vertical) << angle;
        EXPECT_GT(g.start.x(), g.end.x()) << angle;
    }
}

TEST_F(TransitionTest, CoverReturnsOnceShownAndItsFadeInGoesOnWhileTheFilesMove)
{
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::dark, 0.5f, 2.0);

    ASSERT_EQ(overlay.windows().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        OverlayWindow &window = *overlay.windows()[i];
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.geometry(), screens.screens[i]);
        EXPECT_EQ(window.windowTitle(), "Quorvane switch cover");
        EXPECT_GE(window.paintCount(), 1);
        const QImage shown = window.grab().toImage();
        EXPECT_EQ(shown.pixelColor(5, 5), SwitchTransitionOverlay::tint(SwitchBlurStyle::dark));
    }
    // Not a frame of the two-second fade is waited for: one frame for the compositing
    // manager, and the fade goes on at its own pace, eased out, on these windows.
    EXPECT_EQ(sleeps.size(), 1u);
    ASSERT_EQ(fader.started.size(), 1u);
    EXPECT_TRUE(fader.running);
    EXPECT_EQ(fader.started[0].windows,
              (std::vector<WId>{overlay.windows()[0]->winId(), overlay.windows()[1]->winId()}));
    EXPECT_DOUBLE_EQ(fader.started[0].from, 0);
    EXPECT_DOUBLE_EQ(fader.started[0].to, double(0.5f));
    EXPECT_DOUBLE_EQ(fader.started[0].duration, 2.0);
    EXPECT_GT(fader.started[0].curve(0.5), 0.6); // eased out
    EXPECT_DOUBLE_EQ(fader.started[0].curve(1), 1);

    // Revealed half-way, the fade-out starts from what the fade-in reached.
    fader.reached = 0.3;
    std::vector<OverlayWindow *> covers{overlay.windows()[0].get(), overlay.windows()[1].get()};
    overlay.reveal(SwitchTransition::blur, 0.5);
    EXPECT_FALSE(fader.running);
    EXPECT_NEAR(windowOpacity(covers[0]), 0.3, 1e-9);
    scheduler.advance(0.1);
    EXPECT_LT(windowOpacity(covers[1]), 0.3);
    EXPECT_EQ(SwitchTransitionOverlay::tint(SwitchBlurStyle::dark), QColor(0x17, 0x17, 0x1B));
    EXPECT_EQ(SwitchTransitionOverlay::tint(SwitchBlurStyle::frost), QColor("#E8EAED"));
}

TEST_F(TransitionTest, ASecondCoverStopsTheFirstOnesFade)
{
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 1.0);
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.6f, 1.0);
    ASSERT_EQ(fader.started.size(), 2u);
    EXPECT_EQ(fader.stops, 1); // the first fade, before its windows went
    EXPECT_TRUE(fader.running);
    EXPECT_EQ(fader.started[1].windows.size(), 2u);
    EXPECT_EQ(fader.started[1].windows[0], overlay.windows()[0]->winId());
}

TEST(SwitchTransitionOverlay, ATimerDueDuringTheCoverRunsOnlyAfterIt)
{
    QtScheduler scheduler;
    FakeScreenList screens;
    FakeCompositor compositor;
    bool ranInside = false;
    bool inside = false;
    int ran = 0;
    SwitchTransitionOverlay overlay(scheduler, screens, compositor, [&](double s) {
        inside = true;
        blockingSleep(s);
    });
    scheduler.after(0, [&] {
        ranInside = inside && overlay.windows().empty();
        ++ran;
    });
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.8f, 0.05);
    EXPECT_EQ(ran, 0);
    inside = false;
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 1);
    EXPECT_FALSE(ranInside);
}

TEST_F(TransitionTest, NoneKeepsTheCoverASecondCoverReplacesItAtOnce)
{
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 0);
    OverlayWindow *first = overlay.windows().front().get();
    overlay.cover(SwitchTransition::none, SwitchBlurStyle::frost, 0.5f, 0);
    ASSERT_EQ(overlay.windows().size(), 2u);
    EXPECT_EQ(overlay.windows().front().get(), first);

    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::soft, 0.7f, 0);
    ASSERT_EQ(overlay.windows().size(), 2u);
    EXPECT_EQ(overlay.fadingCount(), 0u); // the first went without a fade
    EXPECT_EQ(coverOpacities(), (std::vector<double>{double(0.7f), double(0.7f)}));
}

TEST_F(TransitionTest, RevealFadesOutOnceASecondRevealOrSweepLeavesItAlone)
{
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.6f, 0);
    overlay.reveal(SwitchTransition::blur, 0.5);
    EXPECT_TRUE(overlay.windows().empty());
    EXPECT_EQ(overlay.fadingCount(), 2u);
    overlay.reveal(SwitchTransition::blur, 0.5); // nothing left to reveal
    EXPECT_EQ(overlay.fadingCount(), 2u);

    // A cover during the fade-out fades in beside the fading windows.
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.6f, 0);
    EXPECT_EQ(overlay.windows().size(), 2u);
    scheduler.advance(0.25);
    EXPECT_EQ(overlay.fadingCount(), 2u);
    scheduler.advance(0.3);
    EXPECT_EQ(overlay.fadingCount(), 0u);
    EXPECT_EQ(overlay.windows().size(), 2u);
    EXPECT_EQ(scheduler.pendingCount(), 0u); // no frame left running
}

TEST_F(TransitionTest, APreviewRevealDuringTheFadeInStartsFromTheOpacityReached)
{
    overlay.preview(SwitchTransition::blur, SwitchBlurStyle::light, 0.8f, 1.0, 0.5);
    ASSERT_EQ(overlay.windows().size(), 2u);
    EXPECT_DOUBLE_EQ(windowOpacity(overlay.windows()[0].get()), 0);
    EXPECT_TRUE(sleeps.empty()); // the preview never blocks
    scheduler.advance(0.21);
    EXPECT_EQ(overlay.fadingCount(), 0u);
    scheduler.advance(0.01);
    ASSERT_EQ(overlay.fadingCount(), 2u);
    EXPECT_TRUE(overlay.windows().empty());
    scheduler.advance(0.55);
    EXPECT_EQ(overlay.fadingCount(), 0u);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(TransitionTest, FadeOutFromTheReachedOpacityNeverRisesAboveIt)
{
    overlay.preview(SwitchTransition::blur, SwitchBlurStyle::light, 0.8f, 1.0, 0.5);
    std::vector<OverlayWindow *> covers;
    for (const auto &window : overlay.windows())
        covers.push_back(window.get());
    scheduler.advance(0.2);
    const double reached = windowOpacity(covers[0]);
    EXPECT_GT(reached, 0);
    EXPECT_LT(reached, 0.8);
    scheduler.advance(0.02 + 1.0 / 60);
    EXPECT_LE(windowOpacity(covers[0]), reached + 0.05);
    EXPECT_LT(windowOpacity(covers[0]), 0.8 * 0.5);
}

TEST_F(TransitionTest, SweepsRemoveThemselvesAndOnlyTheirOwnWindows)
{
    overlay.sweep(SwitchBlurStyle::frost, 0.9f, 0.45, 0.7, 0.3, -20);
    ASSERT_EQ(overlay.sweepWindows().size(), 2u);
    EXPECT_EQ(overlay.sweepWindows()[0]->windowTitle(), "Quorvane switch sweep");
    EXPECT_DOUBLE_EQ(windowOpacity(overlay.sweepWindows()[0].get()), double(0.9f));
    EXPECT_TRUE(overlay.sweepWindows()[1]->isVisible());

    scheduler.advance(0.5);
    overlay.sweep(SwitchBlurStyle::frost, 0.9f, 0.45, 0.7, 0.3, -20); // the first goes at once
    ASSERT_EQ(overlay.sweepWindows().size(), 2u);
    OverlayWindow *second = overlay.sweepWindows()[0].get();
    scheduler.advance(0.56); // the first sweep's removal: finds none of its windows
    ASSERT_EQ(overlay.sweepWindows().size(), 2u);
    EXPECT_EQ(overlay.sweepWindows()[0].get(), second);
    scheduler.advance(0.5);
    EXPECT_TRUE(overlay.sweepWindows().empty());
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    overlay.reveal(SwitchTransition::sweep, 0.5); // nothing to reveal after a sweep
    EXPECT_EQ(overlay.fadingCount(), 0u);
}

// The sweep's windows have pixels only where the band lies: outside it, what is beneath shows,
// whatever the compositing manager makes of a transparent pixel.
TEST_F(TransitionTest, TheSweepsWindowsAreShapedToTheBand)
{
    overlay.sweep(SwitchBlurStyle::frost, 0.9f, 0.45, 0.7, 0.3, -20);
    ASSERT_EQ(overlay.sweepWindows().size(), 2u);
    OverlayWindow *first = overlay.sweepWindows()[0].get();
    EXPECT_FALSE(first->mask().isEmpty());
    EXPECT_FALSE(first->mask().contains(QPoint(320, 200))) << "the band starts at the screen's edge";
    scheduler.advance(0.65); // half way
    EXPECT_TRUE(first->mask().contains(QPoint(320, 200)));
    EXPECT_FALSE(first->mask().contains(QPoint(5, 5)));
    EXPECT_FALSE(first->mask().contains(QPoint(635, 395)));
    scheduler.advance(0.36); // passed
    ASSERT_EQ(overlay.sweepWindows().size(), 2u);
    EXPECT_FALSE(first->mask().contains(QPoint(320, 200)));
}

TEST_F(TransitionTest, NoScreensAndNoCompositingManager)
{
    screens.screens.clear();
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 0.2);
    overlay.sweep(SwitchBlurStyle::frost, 0.5f, 0.45, 0.7, 0.3, -20);
    EXPECT_TRUE(overlay.windows().empty());
    EXPECT_TRUE(overlay.sweepWindows().empty());
    scheduler.advance(2); // the sweep's removal still runs and finds nothing
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    screens.screens = {QRect(0, 0, 300, 200)};
    compositor.on = false;
    sleeps.clear();
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 0.5f, 0.2);
    ASSERT_EQ(overlay.windows().size(), 1u);
    EXPECT_DOUBLE_EQ(windowOpacity(overlay.windows()[0].get()), 1.0); // opaque, without a fade
    EXPECT_EQ(sleeps.size(), 1u);
    overlay.sweep(SwitchBlurStyle::frost, 0.5f, 0.45, 0.7, 0.3, -20);
    EXPECT_TRUE(overlay.sweepWindows().empty());
    overlay.reveal(SwitchTransition::blur, 0.5);
    EXPECT_TRUE(overlay.windows().empty());
    EXPECT_EQ(overlay.fadingCount(), 0u);
}
