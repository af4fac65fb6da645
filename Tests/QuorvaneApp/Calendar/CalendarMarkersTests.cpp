#include "Calendar/CalendarMarkers.h"
#include "Calendar/MonthGrid.h"
#include "TestEnvironment.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <limits>

using namespace quorvane;

namespace {

Workspace archived(const QString &name, const QString &hex)
{
    Workspace w = Workspace::make(name, hex);
    w.state = WorkspaceState::archivedUnsorted;
    return w;
}

} // namespace

TEST(CalendarMarkers, OneDaysCirclesStandThirteenPointsApartBelowTheMiddle)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    Config config = Config::defaultDocument();
    config.workspaces = {archived("A", "#FF0000"), archived("B", "#00FF00"), archived("C", "#0000FF")};
    const Date march10 = startOfDay(QDate(2025, 3, 10));
    config.cleanupTasks = {CleanupTask{QUuid::createUuid(), {"A"}, march10}, CleanupTask{QUuid::createUuid(), {"B"}, march10},
                           CleanupTask{QUuid::createUuid(), {"C"}, startOfDay(QDate(2025, 3, 11))}};
    TimerOp timer{"T", march10 + 3600, "#123456", false, std::nullopt, true};
    const auto items = calendarItems(config, {timer});
    ASSERT_EQ(items.size(), 4u);
    EXPECT_TRUE(items[0].id.startsWith("clean:"));
    EXPECT_EQ(items[3].id, "timer:T");
    EXPECT_TRUE(items[3].autoTimer && items[3].idle && !items[3].mergeable);

    const GridMetrics grid{70, 46, 6};
    const auto days = MonthGrid::days(QDate(2025, 3, 1), 6, Qt::Monday); // 10 March: index 14
    const auto markers = CalendarMarkers::layout(items, days, grid);
    ASSERT_EQ(markers.size(), 4u);
    const double centreLine = 0.5 * 70;
    EXPECT_DOUBLE_EQ(markers[0].center.x(), centreLine - 13);
    EXPECT_DOUBLE_EQ(markers[1].center.x(), centreLine);
    EXPECT_EQ(markers[2].item.id, "timer:T"); // the timer joins its day's row
    EXPECT_DOUBLE_EQ(markers[2].center.x(), centreLine + 13);
    EXPECT_DOUBLE_EQ(markers[0].center.y(), 2.5 * 46 + 13);
    EXPECT_DOUBLE_EQ(markers[3].center.x(), 1.5 * 70); // alone on its day: on the centre line

    // Not on the grid: no marker.
    EXPECT_TRUE(CalendarMarkers::layout(items, MonthGrid::days(QDate(2025, 6, 1), 6, Qt::Monday), grid).empty());
}

TEST(CalendarMarkers, ACrowdedDayKeepsEveryCircleInsideItsCell)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    Config config = Config::defaultDocument();
    const Date march10 = startOfDay(QDate(2025, 3, 10));
    for (int i = 0; i < 24; ++i) {
        const QString name = QStringLiteral("D%1").arg(i);
        config.workspaces.push_back(archived(name, "#FF0000"));
        config.cleanupTasks.push_back(CleanupTask{QUuid::createUuid(), {name}, march10});
    }
    // A timer's ring is the widest circle of the day.
    TimerOp timer{"T", march10 + 3600, "#123456", false, std::nullopt, true};
    const auto items = calendarItems(config, {timer});
    const auto days = MonthGrid::days(QDate(2025, 3, 1), 6, Qt::Monday); // 10 March: index 14
    for (const GridMetrics grid : {GridMetrics{44, 46, 6}, GridMetrics{70, 46, 6}, GridMetrics{70, 30, 6}}) {
        const auto markers = CalendarMarkers::layout(items, days, grid);
        ASSERT_EQ(markers.size(), 25u);
        const QRectF cell(0 * grid.cellWidth, 2 * grid.rowHeight, grid.cellWidth, grid.rowHeight);
        double previous = -1;
        for (const Marker &marker : markers) {
            const double radius = (marker.item.autoTimer ? CalendarMarkers::ringDiameter : CalendarMarkers::diameter) / 2;
            const QRectF drawn(marker.center - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
            EXPECT_TRUE(cell.contains(drawn)) << grid.cellWidth << "x" << grid.rowHeight << " " << marker.item.id.toStdString()
                                              << " at " << marker.center.x() << "," << marker.center.y();
            // Still one after the other, left to right.
            EXPECT_GT(marker.center.x(), previous);
            previous = marker.center.x();
        }
    }
}

TEST(CalendarMarkers, CellIndexClampsInsideTheGridAndRefusesWhatCannotBeMeasured)
{
    const GridMetrics grid{70, 46, 6};
    EXPECT_EQ(CalendarMarkers::cellIndex({-40, -3}, grid), 0);
    EXPECT_EQ(CalendarMarkers::cellIndex({9000, 9000}, grid), 41);
    EXPECT_EQ(CalendarMarkers::cellIndex({145, 50}, grid), 9);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(CalendarMarkers::cellIndex({nan, 10}, grid));
    EXPECT_FALSE(CalendarMarkers::cellIndex({10, inf}, grid));
    EXPECT_FALSE(CalendarMarkers::cellIndex({10, 10}, GridMetrics{0, 46, 6}));
    EXPECT_FALSE(CalendarMarkers::cellIndex({10, 10}, GridMetrics{70, -1, 6}));
    EXPECT_FALSE(CalendarMarkers::cellIndex({10, 10}, GridMetrics{nan, 46, 6}));
    // A tiny width makes a huge quotient: clamped before it becomes an integer.
    EXPECT_EQ(CalendarMarkers::cellIndex({1e300, 1e300}, GridMetrics{1e-300, 1e-300, 6}), 41);
}

TEST(CalendarMarkers, SectorsRunClockwiseFromStraightDown)
{
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.fillRect(image.rect(), CalendarMarkers::gradient({20, 20}, {QColor("#FF0000"), QColor("#0000FF")}));
    painter.end();
    // On screen, clockwise from straight down passes the left side first: red there, blue right.
    EXPECT_EQ(image.pixelColor(4, 20), QColor("#FF0000"));
    EXPECT_EQ(image.pixelColor(36, 20), QColor("#0000FF"));

    QImage gray(10, 10, QImage::Format_ARGB32);
    QPainter grayPainter(&gray);
    grayPainter.fillRect(gray.rect(), CalendarMarkers::gradient({5, 5}, {}));
    grayPainter.end();
    EXPECT_EQ(gray.pixelColor(1, 5), QColor(calendarGrayHex));
}

TEST(CalendarMarkers, GooJoinsNearBlobsAndKeepsFarOnesApart)
{
    const QSize size(300, 100);
    auto kept = [](const QImage &mask, QPointF p) { return qAlpha(mask.pixel(p.toPoint())) == 255; };
    const QImage one = CalendarMarkers::gooMask(size, {{50, 50}});
    EXPECT_TRUE(kept(one, {50, 50}));
    EXPECT_TRUE(kept(one, {62, 50}));
    EXPECT_FALSE(kept(one, {75, 50}));

    // 40 points apart the discs do not touch, but the blur bridges the gap.
    const QImage near = CalendarMarkers::gooMask(size, {{100, 50}, {140, 50}});
    EXPECT_TRUE(kept(near, {120, 50}));
    const QImage far = CalendarMarkers::gooMask(size, {{100, 50}, {160, 50}});
    EXPECT_FALSE(kept(far, {130, 50}));
    EXPECT_TRUE(kept(far, {160, 50}));
}
