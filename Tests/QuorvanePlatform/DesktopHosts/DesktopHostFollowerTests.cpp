#include "DesktopHosts/DesktopHostFollower.h"

#include "FakeHostProcessTable.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::FakeHostProcessTable;

namespace {

struct Following : ::testing::Test {
    FakeHostProcessTable table;
    qint64 now = 0;
    DesktopHostFollower follower{table, 30000, [this] { return now; }};

    qint64 hostPid()
    {
        const auto host = follower.host();
        return host ? host->pid : 0;
    }
};

} // namespace

TEST_F(Following, TheHostIsWalkedForOnceThenFollowedByItsHandleUntilItEnds)
{
    table.start(100, 7);
    EXPECT_EQ(hostPid(), 100);
    EXPECT_EQ(hostPid(), 100);
    EXPECT_EQ(hostPid(), 100);
    EXPECT_EQ(table.walks, 1);
    EXPECT_EQ(table.startTimeReads, 1); // the check of the pid found, none per call
    table.end(100);
    table.start(200, 8);
    EXPECT_EQ(hostPid(), 200); // looked for again at once
    EXPECT_EQ(table.walks, 2);
}

TEST_F(Following, WhileNoneRunsTheProcessesAreWalkedOnlyOnTheSlowTimer)
{
    table.start(100, 7);
    EXPECT_EQ(hostPid(), 100);
    table.end(100);
    EXPECT_EQ(hostPid(), 0);
    EXPECT_EQ(hostPid(), 0);
    table.start(300, 9);
    now += 29999;
    EXPECT_EQ(hostPid(), 0);
    EXPECT_EQ(table.walks, 2);
    now += 1;
    EXPECT_EQ(hostPid(), 300);
    EXPECT_EQ(table.walks, 3);
}

TEST_F(Following, APidTakenByAnotherProgramIsNoHost)
{
    // Between the walk and the handle the host ended and another program got its pid.
    table.start(100, 7);
    table.afterWalk = [this] {
        table.end(100);
        table.start(100, 12, false);
        table.afterWalk = nullptr;
    };
    EXPECT_EQ(hostPid(), 0);
    // Without pidfds the one pid is checked: its new program is no host either.
    table.handles = false;
    table.processes.clear();
    table.start(101, 7);
    now += 30000;
    EXPECT_EQ(hostPid(), 101);
    table.end(101);
    table.start(101, 13, false);
    EXPECT_EQ(hostPid(), 0);
    EXPECT_EQ(table.walks, 3);
}

TEST_F(Following, AHostTheApplicationStartedAgainIsFollowedWithoutAWalk)
{
    table.start(400, 5);
    follower.follow(DesktopHostProcess{"pcmanfm", "default", 400, {"pcmanfm", "--desktop"}});
    EXPECT_EQ(hostPid(), 400);
    EXPECT_EQ(table.walks, 0);
    EXPECT_EQ(table.startTimeReads, 0);
    table.end(400);
    EXPECT_EQ(hostPid(), 0);
    EXPECT_EQ(table.walks, 1);
}

TEST(ProcHostProcessTable, AProcessHasItsStartTimeAndAHandleUntilItEnds)
{
    ProcHostProcessTable table;
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted(5000));
    const qint64 pid = child.processId();
    const auto started = table.startTime(pid);
    const auto ours = table.startTime(QCoreApplication::applicationPid());
    const int handle = table.endHandle(pid);
    child.kill();
    EXPECT_TRUE(waitForProcessEnd(pid, 5000));
    const auto afterEnd = table.startTime(pid); // a zombie until collected: ended
    child.waitForFinished(5000);
    ASSERT_TRUE(started.has_value());
    ASSERT_TRUE(ours.has_value());
    EXPECT_GE(*started, *ours); // started after this process
    EXPECT_FALSE(afterEnd.has_value());
    EXPECT_GE(handle, 0);
    if (handle >= 0)
        ::close(handle);
}
