#include "HostWork.h"
#include "ThemeShadeProbe.h"
#include "Wait.h"

#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

using namespace quorvane;

namespace {

struct ThemeShadeProbeTest : ::testing::Test {
    void SetUp() override { HostWork::setInline(false); }
    void TearDown() override
    {
        HostWork::drain();
        HostWork::setInline(true);
    }
};

} // namespace

TEST_F(ThemeShadeProbeTest, AnswersAtOnceAndReportsADifferentShadeWhenTheSessionHasTold)
{
    std::atomic<bool> release = false;
    std::atomic<int> probes = 0;
    std::atomic<QThread *> probedOn = nullptr;
    QColor session(Qt::white);
    int learned = 0;
    QColor seenWhenLearned;
    ThemeShadeProbe *self = nullptr;
    ThemeShadeProbe shade(
        [&] {
            probedOn = QThread::currentThread();
            while (!release)
                QThread::msleep(1);
            ++probes;
            return session;
        },
        [&] {
            ++learned;
            seenWhenLearned = self->colour(); // a glyph redrawn on the news asks no new probe
        });
    self = &shade;

    // The tools have not answered: nothing known, the caller not held.
    EXPECT_FALSE(shade.colour().isValid());
    EXPECT_FALSE(shade.colour().isValid()); // one question at a time
    release = true;
    ASSERT_TRUE(test::waitUntil([&] { return learned == 1; }));
    EXPECT_NE(probedOn.load(), QThread::currentThread());
    EXPECT_EQ(seenWhenLearned, QColor(Qt::white));
    EXPECT_EQ(shade.colour(), QColor(Qt::white));
    ASSERT_TRUE(HostWork::drain());
    QCoreApplication::processEvents();
    EXPECT_EQ(probes, 2); // the first, and the one the last question started

    // The same answer again reports nothing; a new shade does.
    session = QColor(Qt::black);
    EXPECT_EQ(shade.colour(), QColor(Qt::white));
    ASSERT_TRUE(test::waitUntil([&] { return learned == 2; }));
    EXPECT_EQ(shade.colour(), QColor(Qt::black));
    ASSERT_TRUE(HostWork::drain());
    QCoreApplication::processEvents();
    EXPECT_EQ(learned, 2);
}
