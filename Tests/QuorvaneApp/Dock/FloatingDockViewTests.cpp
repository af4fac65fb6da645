#include "Dock/FloatingDockView.h"
#include "FakePreferenceReader.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct FloatingDockViewTest : ::testing::Test {
    test::FakePreferenceReader prefs;
    FloatingDockModel model{prefs};
    std::vector<QString> switched;
    std::vector<DockHalf> flips;
    int closes = 0;

    void tiles(const QStringList &names, int active = 0)
    {
        std::vector<DockSurface> surfaces;
        for (int i = 0; i < names.size(); ++i)
            surfaces.push_back({names[i], "#3366CC", "/nowhere/" + names[i], i == active});
        model.setSurfaces(surfaces);
    }
    void wire(FloatingDockView &view)
    {
        view.onSwitch = [this](const QString &name) { switched.push_back(name); };
        view.onFlip = [this](DockHalf half) { flips.push_back(half); };
        view.onClose = [this] { ++closes; };
    }
};

} // namespace

TEST_F(FloatingDockViewTest, LayoutOfTheLargestAndSmallestHorizontalMetrics)
{
    model.setMetrics(DockMetrics(48, FloatingDockAxis::horizontal));
    tiles({"A"});
    DockLayout layout = DockLayout::compute(model);
    EXPECT_EQ(layout.tileHeight, 79);
    EXPECT_EQ(layout.radius, 26);
    EXPECT_EQ(layout.spacing, 13);
    EXPECT_EQ(layout.divider.height(), 79);
    EXPECT_EQ(layout.arrowFont, 13);
    EXPECT_EQ(layout.arrowFrame, QSizeF(24, 18));
    EXPECT_EQ(layout.closeGlyph, 18);
    model.setShowFlipButtons(false);
    layout = DockLayout::compute(model);
    EXPECT_EQ(layout.cornerClosePadding, 14);
    EXPECT_TRUE(layout.divider.isNull());
    EXPECT_TRUE(layout.firstArrow.isNull());

    model.setShowFlipButtons(true);
    model.setMetrics(DockMetrics(16, FloatingDockAxis::horizontal));
    layout = DockLayout::compute(model);
    EXPECT_EQ(layout.tileHeight, 51);
    EXPECT_EQ(layout.radius, 18);
    EXPECT_EQ(layout.spacing, 6);
    EXPECT_EQ(layout.arrowFont, 9);
    EXPECT_EQ(layout.arrowFrame, QSizeF(18, 12));
    EXPECT_EQ(layout.closeGlyph, 12);
    model.setShowFlipButtons(false);
    EXPECT_EQ(DockLayout::compute(model).cornerClosePadding, 10);

    // The card's radius is capped for the largest vertical metrics.
    model.setAxis(FloatingDockAxis::vertical);
    model.setMetrics(DockMetrics(128, FloatingDockAxis::vertical));
    EXPECT_EQ(DockLayout::compute(model).radius, 26);
}

TEST_F(FloatingDockViewTest, ThreeOneLetterTilesMakeACard278Wide)
{
    model.setMetrics(DockMetrics(48, FloatingDockAxis::horizontal));
    model.setShowFlipButtons(false);
    tiles({"A", "B", "C"});
    const DockLayout layout = DockLayout::compute(model);
    EXPECT_EQ(layout.size, QSizeF(278, 97));
    ASSERT_EQ(layout.tiles.size(), 3u);
    EXPECT_EQ(layout.tiles[1].second, QRectF(17 + 82, 9, 80, 79));

    model.setSurfaces({});
    const DockLayout empty = DockLayout::compute(model);
    EXPECT_TRUE(empty.tiles.empty());
    EXPECT_FALSE(empty.emptyNote.isNull());
}

TEST_F(FloatingDockViewTest, ClickingTilesAndControlsReportsToTheOwner)
{
    model.setMetrics(DockMetrics(48, FloatingDockAxis::horizontal));
    tiles({"Work", "Play", "Misc"}, 0);
    FolderIconCache icons;
    FloatingDockView view(model, icons);
    wire(view);
    view.show();
    ASSERT_EQ(model.tileFrames().size(), 3);
    const auto centre = [&](const QString &name) { return model.tileFrames().value(name).center().toPoint(); };
    QTest::mouseClick(&view, Qt::LeftButton, {}, centre("Play"));
    QTest::mouseClick(&view, Qt::LeftButton, {}, centre("Work")); // the active tile
    QTest::mousePress(&view, Qt::LeftButton, {}, centre("Misc"));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, centre("Play")); // released elsewhere
    EXPECT_EQ(switched, std::vector<QString>{"Play"});

    // Lower half: the down arrow cannot be clicked.
    ASSERT_TRUE(view.firstArrow()->isVisible());
    EXPECT_EQ(view.firstArrow()->property("symbol").toString(), "chevron.up");
    EXPECT_FALSE(view.secondArrow()->isEnabled());
    QTest::mouseClick(view.secondArrow(), Qt::LeftButton);
    QTest::mouseClick(view.firstArrow(), Qt::LeftButton);
    EXPECT_EQ(flips, std::vector<DockHalf>{DockHalf::upper});
    EXPECT_EQ(view.firstArrow()->toolTip(), "Move to the top half of the screen");
    QTest::mouseClick(view.closeButton(), Qt::LeftButton);
    EXPECT_EQ(closes, 1);

    model.setShowFlipButtons(false);
    EXPECT_FALSE(view.firstArrow()->isVisible());
    EXPECT_TRUE(view.closeButton()->isVisible());
    EXPECT_EQ(view.closeButton()->geometry().right() + 1, view.width() - 14);

    model.setAxis(FloatingDockAxis::vertical);
    model.setMetrics(DockMetrics(48, FloatingDockAxis::vertical));
    EXPECT_GT(view.height(), view.width());
    EXPECT_EQ(view.firstArrow()->property("symbol").toString(), "chevron.left");
    QTest::mouseClick(&view, Qt::LeftButton, {}, centre("Misc"));
    EXPECT_EQ(switched, (std::vector<QString>{"Play", "Misc"}));
}

TEST_F(FloatingDockViewTest, HelpNamesTheTile)
{
    EXPECT_EQ(FloatingDockView::tileHelp({"Work", "", "", true}), "Work (current desktop)");
    EXPECT_EQ(FloatingDockView::tileHelp({"Play", "", "", false}), "Move files to Play");
}
