#include "CalendarViewHarness.h"

#include "Calendar/CalendarGridView.h"
#include "Calendar/CalendarMarkers.h"
#include "Calendar/MonthGrid.h"
#include "Shared/Style.h"
#include "Shared/Theme.h"

#include <QTest>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The grid two months ahead, where every day is still to come, 70 points to a day.
struct CalendarGridTest : CalendarHarness {
    std::unique_ptr<CalendarGridView> grid;
    std::vector<QDate> days;

    CalendarGridView &show(const QDate &anchor)
    {
        grid = std::make_unique<CalendarGridView>(*model, 6, 46);
        grid->resize(490, 276);
        grid->setMonth(anchor);
        days = grid->days();
        return *grid;
    }
    static std::vector<QDate> daysOf(const QDate &anchor) { return MonthGrid::days(anchor, 6, Qt::Monday); }
    QPointF centreOf(const QString &id) const
    {
        for (const Marker &marker : grid->markers()) {
            if (marker.item.id == id)
                return marker.center;
        }
        ADD_FAILURE() << "no marker " << id.toStdString();
        return {};
    }
    static QString idOf(const CleanupTask &task) { return "clean:" + task.id.toString(QUuid::WithoutBraces).toUpper(); }
    const CleanupTask *storedTask(const QUuid &id)
    {
        static Config config;
        config = stored();
        for (const CleanupTask &t : config.cleanupTasks) {
            if (t.id == id)
                return &t;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(CalendarGridTest, ACleanupWithinTwentyPointsMergesEvenWhenReleasedInTheNextCell)
{
    const QDate ahead = today.addMonths(2);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000"), archivedDesktop("B", "#00FF00")};
    days = daysOf(ahead);
    const CleanupTask a = task("A", days[8]);
    const CleanupTask b = task("B", days[10]);
    config.cleanupTasks = {a, b};
    open(config);
    show(ahead);

    const QPointF from = centreOf(idOf(a));
    const QPointF target = centreOf(idOf(b));
    press(grid.get(), from);
    moveTo(grid.get(), from + QPointF(8, 0));
    moveTo(grid.get(), target + QPointF(0, 20));
    ASSERT_TRUE(grid->drag().has_value());
    EXPECT_FALSE(grid->drag()->targetID.has_value());
    EXPECT_TRUE(grid->isHidden(idOf(a)));
    EXPECT_FALSE(grid->isHidden(idOf(b)));
    // 19.9 points below the target's centre lies in the next week's cell.
    moveTo(grid.get(), target + QPointF(0, 19.9));
    EXPECT_EQ(grid->drag()->targetID, idOf(b));
    EXPECT_TRUE(grid->isHidden(idOf(b)));
    release(grid.get(), target + QPointF(0, 19.9));

    EXPECT_FALSE(grid->drag().has_value());
    const Config after = stored();
    ASSERT_EQ(after.cleanupTasks.size(), 1u);
    EXPECT_EQ(after.cleanupTasks[0].id, b.id);
    EXPECT_EQ(after.cleanupTasks[0].members, QStringList({"B", "A"}));
    EXPECT_EQ(after.cleanupTasks[0].date, b.date); // the target's day, not the one under the pointer
}

TEST_F(CalendarGridTest, ReleasesRescheduleToTheDayUnderThePointerClampedToTheGrid)
{
    const QDate ahead = today.addMonths(2);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000"), archivedDesktop("B", "#00FF00")};
    days = daysOf(ahead);
    const CleanupTask a = task("A", days[8], 15); // due in the afternoon
    const CleanupTask b = task("B", days[10]);
    config.cleanupTasks = {a, b};
    open(config);
    show(ahead);

    // Twenty points from the other cleanup: no merge, moved to the next week's day.
    dragAndRelease(grid.get(), centreOf(idOf(a)), centreOf(idOf(b)) + QPointF(0, 20));
    EXPECT_EQ(storedTask(a.id)->date, startOfDay(days[17]));
    EXPECT_EQ(stored().cleanupTasks.size(), 2u);

    // Released on its own day: rescheduled to the start of that day.
    Config again = stored();
    again.cleanupTasks[0].date = fromDateTime(QDateTime(days[17], QTime(15, 0)));
    open(again);
    show(ahead);
    dragAndRelease(grid.get(), centreOf(idOf(a)), centreOf(idOf(a)) + QPointF(10, 8));
    EXPECT_EQ(storedTask(a.id)->date, startOfDay(days[17]));

    // Outside the grid: the nearest row and column.
    dragAndRelease(grid.get(), centreOf(idOf(a)), QPointF(-80, -40));
    EXPECT_EQ(storedTask(a.id)->date, startOfDay(days[0]));
    dragAndRelease(grid.get(), centreOf(idOf(a)), QPointF(900, 900));
    EXPECT_EQ(storedTask(a.id)->date, startOfDay(days[41]));
}

TEST_F(CalendarGridTest, APastDayRefusesEvenOverATargetAndTimersNeverMerge)
{
    const QDate before = today.addMonths(-2);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000"), archivedDesktop("B", "#00FF00")};
    days = daysOf(before);
    const CleanupTask a = task("A", days[12]);
    const CleanupTask b = task("B", days[10]);
    config.cleanupTasks = {a, b};
    open(config);
    show(before);
    const Config untouched = stored();
    dragAndRelease(grid.get(), centreOf(idOf(a)), centreOf(idOf(b)) + QPointF(3, 0));
    EXPECT_EQ(stored(), untouched);

    // A timer dragged over a cleanup is only moved, to the day under the pointer.
    const QDate ahead = today.addMonths(2);
    config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("B", "#00FF00"), timedDesktop("T", today, 3, ArchiveTimerMode::fixed)};
    days = daysOf(ahead);
    config.cleanupTasks = {task("B", days[10])};
    config.workspaces[1].timer = ArchiveTimer{ArchiveTimerMode::fixed, today.daysTo(days[9])};
    open(config);
    show(ahead);
    const QPointF timer = centreOf("timer:T");
    const QPointF cleanup = centreOf(idOf(config.cleanupTasks[0]));
    press(grid.get(), timer);
    moveTo(grid.get(), timer + QPointF(8, 0));
    moveTo(grid.get(), cleanup + QPointF(2, 0));
    EXPECT_FALSE(grid->drag()->targetID.has_value());
    release(grid.get(), cleanup + QPointF(2, 0));
    EXPECT_EQ(stored().cleanupTasks.size(), 1u);
    ASSERT_EQ(model->timerOps().size(), 1u);
    EXPECT_EQ(model->timerOps()[0].date, startOfDay(days[10]));
}

TEST_F(CalendarGridTest, DroppedTextMustNameADesktopThatMayStillBeSorted)
{
    const QDate ahead = today.addMonths(2);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("Old", "#FF00FF"), archivedDesktop("Done", "#00FF00", WorkspaceState::archivedSorted)};
    open(config);
    show(ahead);
    const QPointF day12((12 % 7 + 0.5) * 70, (12 / 7 + 0.5) * 46);
    EXPECT_FALSE(dropText(grid.get(), "Nobody", day12));
    EXPECT_FALSE(dropText(grid.get(), "Done", day12));
    EXPECT_TRUE(stored().cleanupTasks.empty());

    EXPECT_TRUE(dropText(grid.get(), "Old", day12));
    ASSERT_EQ(stored().cleanupTasks.size(), 1u);
    EXPECT_EQ(stored().cleanupTasks[0].members, QStringList{"Old"});
    EXPECT_EQ(stored().cleanupTasks[0].date, startOfDay(days[12]));

    show(today.addMonths(-2));
    EXPECT_FALSE(dropText(grid.get(), "Old", day12)); // a past day
    EXPECT_EQ(stored().cleanupTasks[0].date, startOfDay(daysOf(ahead)[12]));
}

TEST_F(CalendarGridTest, AGridWithoutWidthChangesNothing)
{
    const QDate ahead = today.addMonths(2);
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("A", "#FF0000")};
    config.cleanupTasks = {task("A", daysOf(ahead)[8])};
    open(config);
    show(ahead);
    grid->resize(0, 276);
    const Config untouched = stored();
    dragAndRelease(grid.get(), QPointF(0, 36), QPointF(30, 100));
    EXPECT_FALSE(dropText(grid.get(), "A", QPointF(0, 100)));
    EXPECT_EQ(stored(), untouched);
}

TEST_F(CalendarGridTest, PastDaysReadAt4Point5InBothLooks)
{
    open(Config::defaultDocument());
    for (const AppearanceMode mode : {AppearanceMode::dark, AppearanceMode::light}) {
        Theme::shared().apply(Appearance{mode, std::nullopt});
        show(today.addMonths(-2)); // every day shown is past
        const QImage drawn = grid->grab().toImage();
        const QColor window = QApplication::palette().color(QPalette::Window);
        double strongest = 1;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (qAlpha(drawn.pixel(x, y)) == 255)
                    strongest = std::max(strongest, Style::contrastRatio(QColor(drawn.pixel(x, y)), window));
        EXPECT_GE(strongest, 4.5) << (mode == AppearanceMode::dark ? "dark" : "light");
    }
    Theme::shared().apply(Appearance{});
}

// Today is marked as the desktop's calendars mark it: the cell filled with the accent, its number
// readable on it; no bar stands at the cell's edge.
TEST_F(CalendarGridTest, TodaysCellIsFilledWithTheAccentAndItsNumberReads)
{
    open(Config::defaultDocument());
    for (const AppearanceMode mode : {AppearanceMode::dark, AppearanceMode::light}) {
        Theme::shared().apply(Appearance{mode, std::nullopt});
        show(today);
        const auto at = std::find(days.begin(), days.end(), today);
        ASSERT_NE(at, days.end());
        const int index = int(at - days.begin());
        const QPointF centre((index % 7 + 0.5) * 70, (index / 7 + 0.5) * 46);
        const QImage drawn = grid->grab().toImage();
        const QColor accent = QApplication::palette().color(QPalette::Highlight);
        EXPECT_EQ(drawn.pixelColor(QPoint(int(centre.x()) - 11, int(centre.y()))), accent) << "filled";
        double strongest = 1;
        for (int y = int(centre.y()) - 8; y < int(centre.y()) + 8; ++y)
            for (int x = int(centre.x()) - 10; x < int(centre.x()) + 10; ++x)
                strongest = std::max(strongest, Style::contrastRatio(drawn.pixelColor(x, y), accent));
        EXPECT_GE(strongest, 4.5) << "today's number on the accent";
        const QColor edge = drawn.pixelColor(QPoint((index % 7) * 70, int(centre.y())));
        EXPECT_NE(edge, accent) << "no bar at the cell's edge";
    }
    Theme::shared().apply(Appearance{});
}

TEST_F(CalendarGridTest, TheDaysTakeTheFocusAndTheArrows)
{
    open(Config::defaultDocument());
    show(today.addMonths(2));
    std::vector<QDate> chosen;
    grid->onSelectDay = [&](const QDate &day) { chosen.push_back(day); };
    EXPECT_EQ(grid->focusPolicy(), Qt::StrongFocus);
    const QDate first(days[10].year(), days[10].month(), 1); // nothing chosen, today not shown
    EXPECT_EQ(grid->keyboardDay(), first);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->keyboardDay(), first.addDays(8));
    QTest::keyClick(grid.get(), Qt::Key_Return);
    EXPECT_EQ(chosen, std::vector<QDate>{first.addDays(8)});
    // It stays on the days shown.
    grid->setSelectedDay(days.front());
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->keyboardDay(), days.front());
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(chosen.back(), days.front());
    grid->setSelectable(false);
    EXPECT_EQ(grid->focusPolicy(), Qt::NoFocus);
}
