#include "Calendar/MonthGrid.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(MonthGrid, MondayFirstMonthStartingOnSundayHasTheFirstInTheSeventhCell)
{
    // June 2025 begins on a Sunday.
    const auto days = MonthGrid::days(QDate(2025, 6, 17), 6, Qt::Monday);
    ASSERT_EQ(days.size(), 42u);
    EXPECT_EQ(days[6], QDate(2025, 6, 1));
    EXPECT_EQ(days[0], QDate(2025, 5, 26));
    EXPECT_EQ(days[0].dayOfWeek(), Qt::Monday);
    EXPECT_EQ(days[41], QDate(2025, 7, 6));
    // Sunday first: the same month starts in the first cell.
    EXPECT_EQ(MonthGrid::days(QDate(2025, 6, 1), 6, Qt::Sunday)[0], QDate(2025, 6, 1));
}

TEST(MonthGrid, LabelsTitleAndHeadingFollowTheLocale)
{
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(british.firstDayOfWeek(), Qt::Monday);
    EXPECT_EQ(MonthGrid::weekdaySymbols(british, british.firstDayOfWeek()),
              QStringList({"M", "T", "W", "T", "F", "S", "S"}));
    EXPECT_EQ(MonthGrid::monthTitle(QDate(2025, 3, 10), british), "March 2025");
    EXPECT_EQ(MonthGrid::dayHeading(QDate(2025, 3, 10), british), "Monday, 10 Mar");

    const QLocale american(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(MonthGrid::weekdaySymbols(american, american.firstDayOfWeek()).first(), "S");
    EXPECT_EQ(MonthGrid::dayHeading(QDate(2025, 3, 10), american), "Monday, Mar 10");

    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(MonthGrid::dayHeading(QDate(2025, 3, 10), german), "Montag, 10. März");
    EXPECT_EQ(MonthGrid::monthTitle(QDate(2025, 3, 10), german), "März 2025");
}

TEST(MonthGrid, TonesAndTheTodayBar)
{
    const QDate today(2025, 3, 12);
    const QDate anchor(2025, 3, 1);
    EXPECT_EQ(MonthGrid::tone(today.addDays(-1), anchor, today), MonthGrid::DayTone::quaternary);
    EXPECT_FALSE(MonthGrid::isPast(today, today));
    EXPECT_EQ(MonthGrid::tone(today, anchor, today), MonthGrid::DayTone::primary);
    EXPECT_EQ(MonthGrid::tone(QDate(2025, 4, 2), anchor, today), MonthGrid::DayTone::tertiary);
}

TEST(MonthGrid, ShiftingFromTheThirtyFirstOfJanuaryShowsFebruary)
{
    const QDate moved = MonthGrid::shiftMonth(QDate(2025, 1, 31), 1);
    EXPECT_EQ(moved.month(), 2);
    EXPECT_EQ(moved.year(), 2025);
    EXPECT_EQ(MonthGrid::shiftMonth(QDate(2025, 1, 15), -1), QDate(2024, 12, 15));
}
