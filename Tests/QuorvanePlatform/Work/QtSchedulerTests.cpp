#include "Work/QtScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {
void spinUntil(const std::function<bool()> &done, int limitMs = 2000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
} // namespace

TEST(QtScheduler, RunsOnceRepeatsAndCancels)
{
    QtScheduler s;
    int once = 0, repeated = 0, cancelled = 0;
    s.after(0.01, [&] { ++once; });
    const auto cancelledToken = s.after(0.01, [&] { ++cancelled; });
    s.cancel(cancelledToken);
    Scheduler::Token rep = 0;
    rep = s.every(0.005, [&] {
        if (++repeated == 3)
            s.cancel(rep);
    });
    spinUntil([&] { return once == 1 && repeated >= 3; });
    QCoreApplication::processEvents();
    EXPECT_EQ(once, 1);
    EXPECT_EQ(repeated, 3);
    EXPECT_EQ(cancelled, 0);
    s.cancel(9999); // unknown tokens are ignored
}
