#include "CleanupSchedule.h"
#include "Config.h"
#include "DecodeError.h"
#include "TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

Date local(int y, int m, int d, int h = 0, int min = 0)
{
    return fromDateTime(QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime));
}

QString localText(Date date)
{
    return toDateTime(date).toLocalTime().toString("yyyy-MM-dd HH:mm");
}

Workspace ws(const QString &name, WorkspaceState state, const QString &color = "#FF9F0A")
{
    Workspace w = Workspace::fromJson(QJsonObject{{"name", name}, {"colorHex", color}});
    w.state = state;
    return w;
}

QStringList membersOf(const std::vector<CleanupTask> &tasks)
{
    QStringList out;
    for (const auto &t : tasks)
        out << t.members.join('+');
    return out;
}

} // namespace

TEST(CleanupSchedule, TaskDueLaterGetsOneReminderOnItsDay)
{
    test::ScopedTimeZone tz("Europe/Berlin");
    const Date task = local(2026, 3, 10);
    const auto times = CleanupSchedule::fireTimes(task, local(2026, 3, 8, 15, 0), 540, true);
    ASSERT_EQ(times.size(), 1u);
    EXPECT_EQ(times[0].suffix, "");
    EXPECT_EQ(localText(times[0].date), "2026-03-10 09:00");

    // On its own day after the reminder time: nothing, with or without repetition.
    EXPECT_TRUE(CleanupSchedule::fireTimes(task, local(2026, 3, 10, 10, 0), 540, false).empty());
    EXPECT_TRUE(CleanupSchedule::fireTimes(task, local(2026, 3, 10, 10, 0), 540, true).empty());
    // Exactly at the reminder time: not later than now, so not kept.
    EXPECT_TRUE(CleanupSchedule::fireTimes(task, local(2026, 3, 10, 9, 0), 540, false).empty());
}

TEST(CleanupSchedule, OverdueTaskRepeatsAcrossADaylightSavingChange)
{
    test::ScopedTimeZone tz("Europe/Berlin"); // clocks go forward on 2026-03-29
    const Date task = local(2026, 3, 10);
    const auto times = CleanupSchedule::fireTimes(task, local(2026, 3, 12, 8, 0), 540, true);
    const QStringList expected = {".overdue0 2026-03-12 09:00", ".overdue3 2026-03-15 09:00",
                                  ".overdue7 2026-03-19 09:00", ".overdue10 2026-03-22 09:00",
                                  ".overdue14 2026-03-26 09:00", ".overdue17 2026-03-29 09:00",
                                  ".overdue21 2026-04-02 09:00", ".overdue24 2026-04-05 09:00"};
    QStringList got;
    for (const auto &t : times)
        got << t.suffix + " " + localText(t.date);
    EXPECT_EQ(got, expected);

    const auto later = CleanupSchedule::fireTimes(task, local(2026, 3, 12, 9, 30), 540, true);
    ASSERT_EQ(later.size(), 7u);
    EXPECT_EQ(later.front().suffix, ".overdue3");
    // Without repetition an overdue task has no reminders left.
    EXPECT_TRUE(CleanupSchedule::fireTimes(task, local(2026, 3, 12, 8, 0), 540, false).empty());
}

TEST(CleanupSchedule, MinutesSplitIntoHourAndMinute)
{
    test::ScopedTimeZone tz("America/New_York");
    const auto times = CleanupSchedule::fireTimes(local(2026, 11, 2), local(2026, 10, 30), 17 * 60 + 45, false);
    ASSERT_EQ(times.size(), 1u);
    EXPECT_EQ(localText(times[0].date), "2026-11-02 17:45");
}

TEST(CleanupTaskCoding, KeysDefaultsAndIdentity)
{
    const QUuid id = QUuid::createUuid();
    const CleanupTask t{id, {"A", "B"}, 123.5};
    const QJsonObject o = t.toJson();
    EXPECT_EQ(o.value("id").toString(), id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(CleanupTask::fromJson(o), t);
    // Lower-case identities are read too.
    QJsonObject lower = o;
    lower["id"] = id.toString(QUuid::WithoutBraces).toLower();
    EXPECT_EQ(CleanupTask::fromJson(lower).id, id);

    const Date before = dateNow();
    const CleanupTask a = CleanupTask::fromJson(QJsonObject{});
    const CleanupTask b = CleanupTask::fromJson(QJsonObject{});
    EXPECT_NE(a.id, b.id); // a fresh identity on every load until saved
    EXPECT_TRUE(a.members.isEmpty());
    EXPECT_GE(a.date, before - 1);
    EXPECT_THROW(CleanupTask::fromJson(QJsonObject{{"id", "{" + id.toString(QUuid::WithoutBraces) + "}"}}), DecodeError);
}

TEST(CleanupEdits, AddSetRemoveRename)
{
    Config c = Config::defaultDocument();
    c.addCleanupTask("A", 100);
    c.addCleanupTask("A", 200); // already listed: nothing
    c.addCleanupTask("B", 100);
    ASSERT_EQ(c.cleanupTasks.size(), 2u);
    EXPECT_EQ(c.cleanupTasks[0].date, 100);

    // Moving the only member deletes its task and joins the task of the new date.
    c.setCleanupDate("B", 100);
    EXPECT_EQ(membersOf(c.cleanupTasks), QStringList{"A+B"});
    c.setCleanupDate("A", 300);
    EXPECT_EQ(membersOf(c.cleanupTasks), (QStringList{"B", "A"}));
    EXPECT_EQ(c.cleanupTasks[1].date, 300);

    c.renameCleanupMember("A", "Z");
    EXPECT_EQ(membersOf(c.cleanupTasks), (QStringList{"B", "Z"}));
    c.removeCleanupMember("B");
    EXPECT_EQ(membersOf(c.cleanupTasks), QStringList{"Z"});
}

TEST(CleanupEdits, MergeSplitReschedule)
{
    Config c = Config::defaultDocument();
    c.cleanupTasks = {CleanupTask{QUuid::createUuid(), {"A", "B"}, 10}, CleanupTask{QUuid::createUuid(), {"B", "C"}, 20}};
    const QUuid first = c.cleanupTasks[0].id, second = c.cleanupTasks[1].id;
    const auto before = c.cleanupTasks;
    c.mergeCleanupTasks(first, first);
    c.mergeCleanupTasks(first, QUuid::createUuid());
    EXPECT_EQ(c.cleanupTasks, before);

    c.mergeCleanupTasks(second, first);
    ASSERT_EQ(c.cleanupTasks.size(), 1u);
    EXPECT_EQ(c.cleanupTasks[0].members, (QStringList{"A", "B", "C"}));
    EXPECT_EQ(c.cleanupTasks[0].date, 10); // the target keeps its date

    c.splitMember("B", 50);
    EXPECT_EQ(membersOf(c.cleanupTasks), (QStringList{"A+C", "B"}));
    c.splitMember("B", 60); // alone in its task: only the date moves
    EXPECT_EQ(c.cleanupTasks.size(), 2u);
    EXPECT_EQ(c.cleanupTasks[1].date, 60);

    c.rescheduleCleanupTask(first, 99);
    EXPECT_EQ(c.cleanupTasks[0].date, 99);
}

TEST(CleanupEdits, OpenMembersAndPruning)
{
    Config c = Config::defaultDocument();
    c.workspaces = {ws("Restored", WorkspaceState::active, "#0A84FF"), ws("Waiting", WorkspaceState::archivedUnsorted, "#30D158"),
                    ws("Sorted", WorkspaceState::archivedSorted)};
    c.cleanupTasks = {CleanupTask{QUuid::createUuid(), {"Restored", "Sorted", "Deleted", "Waiting"}, 1},
                      CleanupTask{QUuid::createUuid(), {"Sorted"}, 2}};
    const auto open = c.openCleanupTasks();
    EXPECT_EQ(membersOf(open), QStringList{"Restored+Waiting"});
    EXPECT_EQ(c.cleanupTasks.size(), 2u); // reading changes nothing
    EXPECT_EQ(c.taskColorStops(c.cleanupTasks[0]), (QStringList{"#0A84FF", "#FF9F0A", "#30D158"}));

    c.pruneCleanupTasks();
    EXPECT_EQ(membersOf(c.cleanupTasks), QStringList{"Restored+Waiting"});
}
