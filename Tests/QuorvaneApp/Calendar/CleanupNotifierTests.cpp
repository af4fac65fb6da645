#include "Calendar/CleanupNotifier.h"
#include "TestEnvironment.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

class FakeCenter final : public NotificationScheduler {
public:
    int authorizations = 0;
    int removals = 0;
    std::vector<NotificationRequest> added;
    std::vector<NotificationRequest> posted;

    void requestAuthorization() override { ++authorizations; }
    void removeAllPendingRequests() override
    {
        ++removals;
        added.clear();
    }
    void add(const NotificationRequest &request) override { added.push_back(request); }
    void post(const NotificationRequest &request) override { posted.push_back(request); }
};

Date local(int y, int m, int d, int h = 0, int min = 0)
{
    return fromDateTime(QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime));
}

Workspace ws(const QString &name, WorkspaceState state)
{
    Workspace w = Workspace::make(name);
    w.state = state;
    return w;
}

const QUuid taskA = QUuid::fromString(QStringLiteral("{0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d}"));
const QUuid taskB = QUuid::fromString(QStringLiteral("{11111111-2222-4333-8444-555555555555}"));

// Two tasks: A (one open member, due 10 March), B (only a sorted member: not open).
Config sampleConfig()
{
    Config config = Config::defaultDocument();
    config.workspaces = {ws("Tax", WorkspaceState::archivedUnsorted), ws("Old", WorkspaceState::archivedSorted)};
    config.cleanupTasks = {CleanupTask{taskA, {"Tax"}, local(2025, 3, 10)}, CleanupTask{taskB, {"Old"}, local(2025, 3, 10)}};
    return config;
}

struct CleanupNotifierTest : ::testing::Test {
    test::ScopedTimeZone zone{"Europe/Berlin"};
    FakeCenter *center = new FakeCenter;
    Date now = local(2025, 3, 8, 12);
    CleanupNotifier notifier{QStringLiteral("app.quorvane.Quorvane"), std::unique_ptr<NotificationScheduler>(center),
                             [this] { return now; }};
};

} // namespace

TEST_F(CleanupNotifierTest, OneRequestPerOpenTaskAndFireTime)
{
    notifier.sync(sampleConfig());
    EXPECT_EQ(center->removals, 1);
    EXPECT_EQ(center->authorizations, 1);
    ASSERT_EQ(center->added.size(), 1u);
    const NotificationRequest &request = center->added[0];
    EXPECT_EQ(request.identifier, "quorvane.cleanup.0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
    EXPECT_EQ(request.title, "Desktop cleanup");
    EXPECT_EQ(request.fireDate.toLocalTime(), QDateTime(QDate(2025, 3, 10), QTime(9, 0), Qt::LocalTime));
}

TEST_F(CleanupNotifierTest, OverdueRepeatsCarryTheirSuffixes)
{
    Config config = sampleConfig();
    config.settings.cleanupNotifyRepeat = true;
    config.settings.cleanupNotifyMinutes = 8 * 60 + 30;
    now = local(2025, 3, 12, 8);
    const auto requests = CleanupNotifier::requests(config, now);
    QStringList suffixes;
    for (const auto &r : requests)
        suffixes << r.identifier.mid(CleanupNotifier::prefix.size() + 36);
    EXPECT_EQ(suffixes, QStringList({".overdue0", ".overdue3", ".overdue7", ".overdue10", ".overdue14", ".overdue17", ".overdue21", ".overdue24"}));
    EXPECT_EQ(requests[1].fireDate.toLocalTime(), QDateTime(QDate(2025, 3, 15), QTime(8, 30), Qt::LocalTime));
}

TEST_F(CleanupNotifierTest, MutedOrNothingOpenClearsPendingAndAddsNothing)
{
    notifier.sync(sampleConfig());
    Config muted = sampleConfig();
    muted.settings.muteCleanupNotifications = true;
    notifier.sync(muted);
    EXPECT_EQ(center->removals, 2);
    EXPECT_TRUE(center->added.empty());

    Config closed = sampleConfig();
    closed.cleanupTasks.erase(closed.cleanupTasks.begin());
    notifier.sync(closed);
    EXPECT_EQ(center->removals, 3);
    EXPECT_TRUE(center->added.empty());
}

TEST_F(CleanupNotifierTest, AuthorisationIsAskedOncePerNotifierAndOnlyWhenNeeded)
{
    Config muted = sampleConfig();
    muted.settings.muteCleanupNotifications = true;
    notifier.sync(muted);
    EXPECT_FALSE(notifier.requestedAuth());
    notifier.sync(sampleConfig());
    notifier.sync(sampleConfig());
    EXPECT_EQ(center->authorizations, 1);
    EXPECT_EQ(center->added.size(), 1u); // the second sync replaced, not duplicated
}

TEST(CleanupNotifierBare, WithoutAnIdentifierNothingIsTouched)
{
    auto *center = new FakeCenter;
    CleanupNotifier notifier{QString(), std::unique_ptr<NotificationScheduler>(center)};
    notifier.sync(sampleConfig());
    EXPECT_EQ(center->removals, 0);
    EXPECT_EQ(center->authorizations, 0);
    EXPECT_TRUE(center->added.empty());
}

TEST_F(CleanupNotifierTest, BodiesNameTheMembersAndTheSoundFollowsTheSetting)
{
    EXPECT_EQ(CleanupNotifier::body({}), "You have desktops to sort.");
    EXPECT_EQ(CleanupNotifier::body({"Old"}), "\u201COld\u201D is still waiting to be sorted.");
    EXPECT_EQ(CleanupNotifier::body({"Tax", "Old", "100%"}), "Desktops still waiting to be sorted: Tax, Old, 100%.");

    // A member restored to active still counts; the sorted one does not.
    Config config = sampleConfig();
    config.workspaces.push_back(ws("Back", WorkspaceState::active));
    config.cleanupTasks[0].members = {"Tax", "Old", "Back"};
    config.settings.cleanupNotifySound = false;
    auto requests = CleanupNotifier::requests(config, now);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, "Desktops still waiting to be sorted: Tax, Back.");
    EXPECT_FALSE(requests[0].sound);
    config.settings.cleanupNotifySound = true;
    EXPECT_TRUE(CleanupNotifier::requests(config, now)[0].sound);
}

TEST_F(CleanupNotifierTest, AllFireTimesPastMeansNoRequest)
{
    now = local(2025, 3, 10, 10); // after 09:00 on the task's own day, no repeats
    notifier.sync(sampleConfig());
    EXPECT_EQ(center->removals, 1);
    EXPECT_TRUE(center->added.empty());
}

// A reminder that fell due while the application was not running is shown once, at the first
// sync of the next run (the latest of a task's, when several fell due); later ones are scheduled
// as usual, and a run that keeps nothing shows nothing.
TEST_F(CleanupNotifierTest, RemindersDueWhileNotRunningAreShownOnceAtStart)
{
    QTemporaryDir store;
    const QString file = store.filePath(QStringLiteral("reminders-last-run"));
    Config config = sampleConfig();
    config.settings.cleanupNotifyRepeat = true;
    now = local(2025, 3, 11, 12); // the task is overdue; the last run ends here
    notifier.keepLastRun(ReminderLastRun(file));
    notifier.sync(config);
    EXPECT_TRUE(center->posted.empty());
    EXPECT_EQ(ReminderLastRun(file).read(), now);

    auto *next = new FakeCenter;
    now = local(2025, 3, 18, 10); // the repeats of 14 and 18 March fell due meanwhile
    CleanupNotifier restarted{QStringLiteral("app.quorvane.Quorvane"), std::unique_ptr<NotificationScheduler>(next),
                              [this] { return now; }};
    restarted.keepLastRun(ReminderLastRun(file));
    restarted.sync(config);
    ASSERT_EQ(next->posted.size(), 1u);
    EXPECT_EQ(next->posted[0].identifier, "quorvane.cleanup.0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D.overdue7");
    EXPECT_EQ(next->posted[0].fireDate.toLocalTime(), QDateTime(QDate(2025, 3, 18), QTime(9, 0), Qt::LocalTime));
    EXPECT_FALSE(next->added.empty()); // the later repeats wait as usual
    restarted.sync(config);
    EXPECT_EQ(next->posted.size(), 1u);

    auto *muted = new FakeCenter;
    ReminderLastRun(file).write(local(2025, 3, 11, 12));
    CleanupNotifier quiet{QStringLiteral("app.quorvane.Quorvane"), std::unique_ptr<NotificationScheduler>(muted),
                          [this] { return now; }};
    quiet.keepLastRun(ReminderLastRun(file));
    config.settings.muteCleanupNotifications = true;
    quiet.sync(config);
    EXPECT_TRUE(muted->posted.empty());

    notifier.sync(sampleConfig()); // without a kept last run (first start) nothing is missed
    EXPECT_TRUE(center->posted.empty());
}
