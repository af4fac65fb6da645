#include "CalendarViewHarness.h"

#include "Calendar/CalendarDaySidebar.h"
#include "Calendar/CalendarGridView.h"
#include "Calendar/CleanupCalendarView.h"
#include "Calendar/MonthGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct CleanupCalendarViewTest : CalendarHarness {
    QPointF cellCentre(int index) const { return QPointF((index % 7 + 0.5) * 70, (index / 7 + 0.5) * 46); }
};

} // namespace

TEST_F(CleanupCalendarViewTest, HeaderButtonsMoveTheMonthAndTapsSelectDaysForTheSidebar)
{
    open(Config::defaultDocument());
    CleanupCalendarView view(*model, CleanupCalendarView::Options{});
    view.resize(700, 400);
    view.grid()->resize(490, 276);
    EXPECT_EQ(view.monthTitle()->text(), MonthGrid::monthTitle(today, QLocale()));
    QStringList labels;
    for (QLabel *label : view.findChildren<QLabel *>()) {
        if (label->text().size() == 1)
            labels << label->text();
    }
    EXPECT_EQ(labels, QStringList({"M", "T", "W", "T", "F", "S", "S"}));
    EXPECT_EQ(view.grid()->days().size(), 42u);
    EXPECT_EQ(view.grid()->days()[0].dayOfWeek(), Qt::Monday);

    QTest::mouseClick(view.findChild<QPushButton *>("nextMonth"), Qt::LeftButton);
    QTest::mouseClick(view.findChild<QPushButton *>("nextMonth"), Qt::LeftButton);
    EXPECT_EQ(view.monthAnchor().month(), today.addMonths(2).month());
    QTest::mouseClick(view.findChild<QPushButton *>("previousMonth"), Qt::LeftButton);
    EXPECT_EQ(view.monthAnchor().month(), today.addMonths(1).month());

    // Nothing selected: the sidebar shows today. A tap on a day of the shown month selects it.
    EXPECT_FALSE(view.selectedDay());
    EXPECT_EQ(view.sidebar()->day(), today);
    click(view.grid(), cellCentre(20));
    EXPECT_EQ(view.selectedDay(), view.grid()->days()[20]);
    EXPECT_EQ(view.sidebar()->day(), view.grid()->days()[20]);
    // "Today" shows the current month again and keeps the selection.
    QTest::mouseClick(view.findChild<QPushButton *>("today"), Qt::LeftButton);
    EXPECT_EQ(view.monthAnchor(), today);
    EXPECT_TRUE(view.selectedDay());
}

TEST_F(CleanupCalendarViewTest, WithoutTheSidebarNothingIsSelected)
{
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000")};
    config.cleanupTasks = {task("A", today.addDays(1))};
    open(config);
    CleanupCalendarView::Options options;
    options.showsSidebar = false;
    options.interactive = false;
    CleanupCalendarView view(*model, options);
    view.grid()->resize(490, 276);
    EXPECT_EQ(view.sidebar(), nullptr);
    click(view.grid(), cellCentre(20));
    const QPointF circle = view.grid()->markers().at(0).center;
    click(view.grid(), circle);
    EXPECT_FALSE(view.selectedDay());
    // Not interactive: the circle does not move, and no name is taken.
    dragAndRelease(view.grid(), circle, circle + QPointF(70, 0));
    EXPECT_EQ(stored().cleanupTasks[0].date, config.cleanupTasks[0].date);
    EXPECT_FALSE(dropText(view.grid(), "A", cellCentre(40)));
}

TEST_F(CleanupCalendarViewTest, ATapOnACircleSelectsItsDayEvenWhenNothingCanBeDragged)
{
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000")};
    config.cleanupTasks = {task("A", today.addDays(1), 15)};
    open(config);
    CleanupCalendarView::Options options;
    options.interactive = false;
    CleanupCalendarView view(*model, options);
    view.grid()->resize(490, 276);
    ASSERT_EQ(view.grid()->markers().size(), 1u);
    click(view.grid(), view.grid()->markers()[0].center + QPointF(3, 2));
    EXPECT_EQ(view.selectedDay(), today.addDays(1));
    EXPECT_EQ(view.sidebar()->day(), today.addDays(1));
}
