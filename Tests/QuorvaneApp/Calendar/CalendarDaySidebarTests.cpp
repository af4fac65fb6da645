#include "CalendarViewHarness.h"

#include "Calendar/CalendarDaySidebar.h"
#include "Calendar/MonthGrid.h"

#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct CalendarDaySidebarTest : CalendarHarness {
    std::unique_ptr<CalendarDaySidebar> sidebar;

    CalendarDaySidebar &showDay(const QDate &day)
    {
        sidebar = std::make_unique<CalendarDaySidebar>(*model);
        sidebar->setDay(day);
        return *sidebar;
    }
    QStringList rowNames(const char *name) const
    {
        QStringList out;
        for (QWidget *row : current()->findChildren<QWidget *>(name))
            out << row->property("workspace").toString();
        return out;
    }
    // The rows of the latest rebuild (the previous ones go once control returns).
    QWidget *current() const { return sidebar->findChildren<QWidget *>("sidebarContent").last(); }
    template <typename T>
    T *find(const char *name, int index = 0) const
    {
        const auto all = current()->findChildren<T *>(name);
        return index < all.size() ? all[index] : nullptr;
    }
    QString text(const char *name) const
    {
        QLabel *label = find<QLabel>(name);
        return label ? label->text() : QString();
    }
};

} // namespace

TEST_F(CalendarDaySidebarTest, ANameInTwoTasksIsListedOnceAndRemovalReachesEveryDay)
{
    const QDate day = today.addDays(3);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000"), archivedDesktop("B", "#00FF00")};
    config.cleanupTasks = {CleanupTask{QUuid::createUuid(), {"A", "B"}, startOfDay(day)},
                           CleanupTask{QUuid::createUuid(), {"B"}, startOfDay(day)},
                           CleanupTask{QUuid::createUuid(), {"B"}, startOfDay(day.addDays(5))}};
    open(config);
    showDay(day);
    EXPECT_EQ(text("heading"), MonthGrid::dayHeading(day, QLocale()));
    EXPECT_EQ(rowNames("cleanupRow"), QStringList({"A", "B"}));
    EXPECT_EQ(find<QToolButton>("removeCleanup", 1)->toolTip(), "Remove this cleanup reminder");

    QTest::mouseClick(find<QToolButton>("removeCleanup", 1), Qt::LeftButton);
    const Config after = stored();
    ASSERT_EQ(after.cleanupTasks.size(), 1u); // B left both days; the emptied tasks went
    EXPECT_EQ(after.cleanupTasks[0].members, QStringList{"A"});
    EXPECT_EQ(rowNames("cleanupRow"), QStringList{"A"});
}

TEST_F(CalendarDaySidebarTest, APastDayKeepsItsRowsEditableButOffersNoMenu)
{
    const QDate past = today.addDays(-4);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000")};
    config.cleanupTasks = {CleanupTask{QUuid::createUuid(), {"A"}, startOfDay(past)}};
    open(config);
    showDay(past);
    EXPECT_EQ(text("addNote"), "This day has passed — drag a circle out to a later day.");
    EXPECT_EQ(find<QPushButton>("addCleanup"), nullptr);
    QDateEdit *picker = find<QDateEdit>("cleanupDate");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->date(), past);                            // the overdue reminder reads as its own day
    EXPECT_EQ(stored().cleanupTasks[0].date, startOfDay(past)); // building the rows changed nothing

    // A date before today is never stored: the first date offered is today.
    picker->setFocus();
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);
    ASSERT_EQ(stored().cleanupTasks.size(), 1u);
    EXPECT_EQ(stored().cleanupTasks[0].date, startOfDay(today));
}

TEST_F(CalendarDaySidebarTest, TodayOffersTheMenuAndCleanupMovesButNoTimerMoveToToday)
{
    Config config = Config::defaultDocument();
    config.workspaces = {Workspace::make("Work"), archivedDesktop("Old", "#FF00FF"),
                         archivedDesktop("Done", "#00FF00", WorkspaceState::archivedSorted),
                         timedDesktop("Idle", today.addDays(-2), 2, ArchiveTimerMode::idle),
                         timedDesktop("Fixed", today.addDays(-1), 1, ArchiveTimerMode::fixed)};
    config.workspaces[3].lastActiveAt.reset();
    open(config);
    showDay(today);
    EXPECT_EQ(rowNames("timerRow"), QStringList({"Idle", "Fixed"}));
    EXPECT_EQ(find<QDateEdit>("timerDate")->date(), today); // reads as the timer's own day
    // The idle timer: dashed ring and its note; the fixed one: solid, no note.
    EXPECT_EQ(find<QWidget>("timerDot", 0)->property("ring").toString(), "dashed");
    EXPECT_EQ(find<QWidget>("timerDot", 1)->property("ring").toString(), "solid");
    EXPECT_EQ(current()->findChildren<QLabel *>("idleNote").size(), 1);
    EXPECT_EQ(text("idleNote"), "idle timer — shifts on next visit");
    EXPECT_EQ(text("timerAction"), "archive");

    QPushButton *add = find<QPushButton>("addCleanup");
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->text(), "Add a cleanup");
    QStringList entries;
    for (QAction *action : add->menu()->actions())
        entries << action->data().toString();
    EXPECT_EQ(entries, QStringList({"Work", "Old", "Idle", "Fixed"}));
    add->menu()->actions()[1]->trigger();
    ASSERT_EQ(stored().cleanupTasks.size(), 1u);
    EXPECT_EQ(stored().cleanupTasks[0].members, QStringList{"Old"});
    EXPECT_EQ(stored().cleanupTasks[0].date, startOfDay(today));
    EXPECT_EQ(rowNames("cleanupRow"), QStringList{"Old"});
    EXPECT_EQ(find<QDateEdit>("cleanupDate")->minimumDate(), today);
}

TEST_F(CalendarDaySidebarTest, EmptyDaysAndDaysWhereEveryDesktopHasADate)
{
    const QDate day = today.addDays(2);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("Old", "#FF00FF"), archivedDesktop("Done", "#00FF00", WorkspaceState::archivedSorted)};
    open(config);
    showDay(day);
    EXPECT_EQ(text("emptyNote"), "Nothing scheduled on this day.");
    ASSERT_NE(find<QPushButton>("addCleanup"), nullptr);

    find<QPushButton>("addCleanup")->menu()->actions()[0]->trigger();
    EXPECT_EQ(text("emptyNote"), QString());
    EXPECT_EQ(text("addNote"), "Every desktop already has a date here.");
}
