#include "ManualScheduler.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using quorvane::test::ManualScheduler;

TEST(ManualScheduler, RunsDueWorkInTimeOrderWithTheClockAtItsMoment)
{
    ManualScheduler s(10);
    std::string order;
    std::vector<double> times;
    s.after(0.3, [&] { order += 'c'; times.push_back(s.now()); });
    s.after(0.1, [&] { order += 'a'; times.push_back(s.now()); });
    s.after(0.1, [&] { order += 'b'; times.push_back(s.now()); }); // same moment: scheduling order
    s.after(5, [&] { order += 'z'; });

    s.advance(0.05);
    EXPECT_EQ(order, "");
    s.advance(0.3);
    EXPECT_EQ(order, "abc");
    EXPECT_EQ(times, (std::vector<double>{10.1, 10.1, 10.3}));
    EXPECT_DOUBLE_EQ(s.now(), 10.35);
    EXPECT_EQ(s.pendingCount(), 1u);
}

TEST(ManualScheduler, RepeatsUntilCancelledAndInterleavesWithOneShots)
{
    ManualScheduler s;
    std::string order;
    quorvane::Scheduler::Token tick = 0;
    int ticks = 0;
    tick = s.every(0.25, [&] {
        order += 't';
        if (++ticks == 4)
            s.cancel(tick); // cancelling itself from its own callback
    });
    s.after(0.6, [&] { order += 'o'; });
    s.advance(10);
    EXPECT_EQ(order, "ttott");
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(s.isPending(tick));
    EXPECT_EQ(s.pendingCount(), 0u);
}

TEST(ManualScheduler, WorkScheduledByACallbackRunsInTheSameAdvanceWhenDue)
{
    ManualScheduler s;
    std::vector<double> times;
    s.after(1, [&] {
        times.push_back(s.now());
        s.after(0.5, [&] { times.push_back(s.now()); });
        s.after(0, [&] { times.push_back(s.now()); });
        s.after(2, [&] { times.push_back(s.now()); }); // beyond this advance
    });
    s.advance(2);
    EXPECT_EQ(times, (std::vector<double>{1, 1, 1.5}));
    s.advance(1);
    EXPECT_EQ(times.size(), 4u);
    EXPECT_DOUBLE_EQ(times.back(), 3);
}

TEST(ManualScheduler, CancelledWorkNeverRunsAndAdvanceZeroRunsWhatIsDue)
{
    ManualScheduler s;
    int runs = 0;
    const auto token = s.after(0.5, [&] { ++runs; });
    s.cancel(token);
    s.cancel(token); // twice is harmless
    s.cancel(12345); // unknown too
    s.after(0, [&] { ++runs; });
    s.advance(0);
    EXPECT_EQ(runs, 1);
    s.advance(1);
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(s.every(0, [] {}), std::invalid_argument);
}
