#include "Wait.h"
#include "Work/HostWork.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

using namespace quorvane;

namespace {

// The worker as the application has it, not the tests' at-once mode.
struct HostWorkTest : ::testing::Test {
    void SetUp() override { HostWork::setInline(false); }
    void TearDown() override
    {
        HostWork::drain();
        HostWork::setInline(true);
    }
};

} // namespace

TEST_F(HostWorkTest, JobsRunInTheOrderPostedAwayFromTheCallerWhoWaitsForNone)
{
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<bool> release = false;
    QThread *ranOn = nullptr;
    // The first job hangs until told: posting and the caller's own work go on meanwhile.
    HostWork::post([&] {
        ranOn = QThread::currentThread();
        while (!release)
            QThread::msleep(1);
        const std::lock_guard lock(mutex);
        order.push_back(1);
    });
    for (int i = 2; i <= 4; ++i) {
        HostWork::post([&, i] {
            const std::lock_guard lock(mutex);
            order.push_back(i);
        });
    }
    EXPECT_TRUE(HostWork::busy());
    EXPECT_FALSE(HostWork::drain(50)); // the first still hangs
    release = true;
    ASSERT_TRUE(HostWork::drain());
    EXPECT_FALSE(HostWork::busy());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_NE(ranOn, QCoreApplication::instance()->thread());
}

TEST_F(HostWorkTest, WhatAJobTellsReachesTheGuiThreadThroughItsEventLoop)
{
    QThread *toldOn = nullptr;
    bool told = false;
    HostWork::post([] {}, [&] {
        toldOn = QThread::currentThread();
        told = true; });
    ASSERT_TRUE(test::waitUntil([&] { return told; }));
    EXPECT_EQ(toldOn, QCoreApplication::instance()->thread());
}
