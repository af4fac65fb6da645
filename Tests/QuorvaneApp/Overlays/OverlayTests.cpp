#include "Triggers/CornerWatcher.h"
#include "Overlays/DesktopCueOverlay.h"
#include "FakeSpaceIdentifier.h"
#include "Dock/FloatingDock.h"
#include "Triggers/ScrollCycleHUD.h"
#include "Overlays/SwitchTransitionOverlay.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(ScrollCycleHUD, NeighboursWrapOnlyWhenAskedAndTheRingHasTwoNames)
{
    using L = ScrollCycleHUD::Labels;
    const QStringList abc{"A", "B", "C"};
    struct Case {
        QStringList ring;
        int index;
        bool wraps;
        std::optional<L> labels;
    } cases[] = {
        {abc, 1, false, L{"A", "B", "C"}},
        {abc, 0, false, L{"", "A", "B"}},
        {abc, 2, false, L{"B", "C", ""}},
        {abc, 0, true, L{"C", "A", "B"}},
        {abc, 2, true, L{"B", "C", "A"}},
        {{"A", "B"}, 0, true, L{"B", "A", "B"}},
        {{"A"}, 0, true, L{"", "A", ""}},
        {abc, 3, true, std::nullopt},
        {abc, -1, true, std::nullopt},
        {{}, 0, true, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScrollCycleHUD::labelsFor(c.ring, c.index, c.wraps), c.labels) << c.ring.join(',').toStdString() << c.index;

    ScrollCycleHUD hud;
    hud.show(abc, 1, true, 1);
    hud.show(abc, 5, true, 1); // outside the ring: nothing changes
    EXPECT_EQ(hud.labels(), (L{"A", "B", "C"}));
}

TEST(DesktopCueOverlay, RecordsWhatEachRelayoutApplied)
{
    DesktopCueOverlay overlay;
    EXPECT_FALSE(overlay.applied());
    overlay.relayout();
    ASSERT_TRUE(overlay.applied());
    EXPECT_FALSE(overlay.applied()->cue);
    EXPECT_FALSE(overlay.applied()->screenFrames.isEmpty());

    const DesktopCue cue(true, DesktopCue::Fill::color("#336699"), 0.5, false, true);
    overlay.current = cue;
    overlay.hideStripInFullScreen = true;
    overlay.relayout();
    EXPECT_EQ(overlay.applied()->cue, cue);
    EXPECT_TRUE(overlay.applied()->hideStripInFullScreen);

    overlay.current->opacity = 0.9;
    overlay.relayout();
    EXPECT_EQ(overlay.applied()->cue->opacity, 0.9);

    overlay.current.reset();
    overlay.relayout();
    EXPECT_FALSE(overlay.applied()->cue);

    QWidget strip;
    strip.show();
    overlay.rebuildStrips(std::vector<QWidget *>{&strip});
    EXPECT_FALSE(strip.isVisible());
}

TEST(CornerWatcher, DwellHasAFloorAndOffLeavesTheSettingsAlone)
{
    CornerWatcher watcher;
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::off);
    EXPECT_EQ(watcher.dwell(), 0.05);
    watcher.start(FloatingDockCorner::topRight, 5);
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::topRight);
    EXPECT_EQ(watcher.dwell(), 0.02);
    watcher.start(FloatingDockCorner::bottomLeft, 300);
    EXPECT_EQ(watcher.dwell(), 0.3);
    watcher.start(FloatingDockCorner::off, 1000);
    EXPECT_EQ(watcher.corner(), FloatingDockCorner::bottomLeft);
    EXPECT_EQ(watcher.dwell(), 0.3);
}

TEST(FloatingDock, AxisChangeClearsTileFramesAndAsksForReplacement)
{
    FloatingDock dock;
    dock.model.tileFrames = {QRectF(0, 0, 10, 10)};
    dock.setAxis(FloatingDockAxis::horizontal); // unchanged: nothing happens
    EXPECT_EQ(dock.model.tileFrames.size(), 1u);
    EXPECT_FALSE(dock.needsReplacement());
    dock.setAxis(FloatingDockAxis::vertical);
    EXPECT_EQ(dock.model.axis, FloatingDockAxis::vertical);
    EXPECT_TRUE(dock.model.tileFrames.empty());
    EXPECT_TRUE(dock.needsReplacement());
}

TEST(FloatingDock, ParkedElsewhereWhenTheActiveSpaceLeftItsHome)
{
    test::FakeSpaceIdentifier spaces;
    spaces.moveTo("one");
    FloatingDock dock(spaces);
    EXPECT_FALSE(dock.isParkedElsewhere());

    const std::vector<DockSurface> tiles{{"Work", "#FF0000", "/d/Work", true}};
    dock.show(tiles, "#C79A5B", std::nullopt);
    EXPECT_TRUE(dock.wantsVisible);
    EXPECT_EQ(dock.model.surfaces, tiles);
    EXPECT_FALSE(dock.isParkedElsewhere());
    spaces.moveTo("two");
    EXPECT_TRUE(dock.isParkedElsewhere());
    spaces.active.reset(); // cannot tell
    EXPECT_FALSE(dock.isParkedElsewhere());
    spaces.moveTo("two");
    dock.wantsVisible = false;
    EXPECT_FALSE(dock.isParkedElsewhere());

    dock.wantsVisible = true;
    dock.reload({}, "#000000"); // no panel yet: nothing is refreshed
    EXPECT_EQ(dock.model.surfaces, tiles);
}

TEST(SwitchTransitionOverlay, NoneLeavesTheCoverRevealOrdersItOut)
{
    SwitchTransitionOverlay overlay;
    overlay.windows.push_back(std::make_unique<QWidget>());
    QWidget *held = overlay.windows.back().get();
    held->show();
    overlay.cover(SwitchTransition::none, SwitchBlurStyle::frost, 1, 0.1);
    EXPECT_EQ(overlay.windows.size(), 1u);
    EXPECT_TRUE(held->isVisible());
    overlay.reveal(SwitchTransition::blur, 0.2);
    EXPECT_TRUE(overlay.windows.empty());

    overlay.windows.push_back(std::make_unique<QWidget>());
    overlay.cover(SwitchTransition::blur, SwitchBlurStyle::frost, 1, 0.1); // drops the old cover
    EXPECT_TRUE(overlay.windows.empty());
}
