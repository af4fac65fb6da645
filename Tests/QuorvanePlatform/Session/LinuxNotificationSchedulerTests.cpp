#include "FakeSessionEvents.h"
#include "ManualScheduler.h"
#include "Session/LinuxNotificationScheduler.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

constexpr double day = 86400;

// The timers run on a manual clock; the wall clock follows it, plus whatever a sleep skipped.
struct LinuxNotificationSchedulerTest : ::testing::Test {
    test::ManualScheduler timers;
    test::FakeSessionEvents session;
    const QDateTime start = QDateTime(QDate(2025, 3, 8), QTime(12, 0), Qt::UTC);
    double slept = 0;
    std::vector<NotificationRequest> shown;
    std::vector<double> shownAt; // seconds of wall time since start
    LinuxNotificationScheduler center{timers,
                                      [this](const NotificationRequest &r) {
                                          shown.push_back(r);
                                          shownAt.push_back(timers.now() + slept);
                                      },
                                      &session, [this] { return wall(); }};

    QDateTime wall() const { return start.addMSecs(qint64((timers.now() + slept) * 1000)); }
    NotificationRequest request(const QString &id, double secondsFromStart) const
    {
        return NotificationRequest{id, "Desktop cleanup", "body", false, start.addMSecs(qint64(secondsFromStart * 1000))};
    }
};

} // namespace

TEST_F(LinuxNotificationSchedulerTest, AReminderFortyDaysAheadIsShownOnceAtItsTime)
{
    center.add(request("far", 40 * day));
    // Never one wait longer than an hour: after the first hour the request waits again.
    timers.advance(3600);
    EXPECT_EQ(timers.scheduledCount(), 2);
    EXPECT_TRUE(shown.empty());
    timers.advance(40 * day - 3600 - 1);
    EXPECT_TRUE(shown.empty());
    timers.advance(1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_DOUBLE_EQ(shownAt[0], 40 * day);
    EXPECT_EQ(shown[0].identifier, "far");
    timers.advance(10 * day);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(timers.pendingCount(), 0u);
    EXPECT_TRUE(center.pendingRequests().empty());
}

TEST_F(LinuxNotificationSchedulerTest, PastRequestsAreDroppedAndTheSameIdentifierReplaces)
{
    center.add(request("past", -60));
    center.add(request("now", 0));
    EXPECT_TRUE(center.pendingRequests().empty());

    center.add(request("a", 100));
    center.add(request("b", 200));
    center.add(request("a", 300));
    ASSERT_EQ(center.pendingRequests().size(), 2u);
    EXPECT_EQ(center.pendingRequests()[1], request("a", 300));
    timers.advance(1000);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].identifier, "b");
    EXPECT_EQ(shown[1].identifier, "a");
    EXPECT_DOUBLE_EQ(shownAt[1], 300); // the replaced time of "a" never fired
}

TEST_F(LinuxNotificationSchedulerTest, RemovingThePendingRequestsStopsTheirTimers)
{
    center.add(request("a", 100));
    center.add(request("b", 2 * day));
    center.removeAllPendingRequests();
    EXPECT_EQ(timers.pendingCount(), 0u);
    timers.advance(3 * day);
    EXPECT_TRUE(shown.empty());
}

TEST_F(LinuxNotificationSchedulerTest, WakingShowsWhatFellDueInTheSleepAndReArmsTheRest)
{
    center.add(request("in the sleep", 2 * 3600));
    center.add(request("after", 5 * 3600));
    timers.advance(600);
    slept = 3 * 3600; // the timers' clock stood still for three hours
    session.wake();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].identifier, "in the sleep");
    // "after" is due 5 h after start; the wall clock now reads 3 h 10 min.
    timers.advance(6600 - 1);
    EXPECT_EQ(shown.size(), 1u);
    timers.advance(1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_DOUBLE_EQ(shownAt[1], 5 * 3600);
    EXPECT_EQ(timers.pendingCount(), 0u);
}

TEST(LinuxNotificationSchedulerLifetime, ItsEndStopsTimersAndWakeObservation)
{
    test::ManualScheduler timers;
    test::FakeSessionEvents session;
    int shown = 0;
    {
        LinuxNotificationScheduler center(
            timers, [&](const NotificationRequest &) { ++shown; }, &session);
        center.add(NotificationRequest{"a", "t", "b", true, QDateTime::currentDateTimeUtc().addSecs(60)});
        EXPECT_EQ(session.observerCount(), 1u);
    }
    EXPECT_EQ(session.observerCount(), 0u);
    EXPECT_EQ(timers.pendingCount(), 0u);
    session.wake();
    EXPECT_EQ(shown, 0);
}
