#include "HostWork.h"
#include "PanelThemeShade.h"
#include "Wait.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

using namespace quorvane;

namespace {

// The worker as the application has it, not the tests' at-once mode.
struct PanelThemeShadeTest : ::testing::Test {
    void SetUp() override { HostWork::setInline(false); }
    void TearDown() override
    {
        release = true;
        HostWork::drain();
        QCoreApplication::processEvents();
        HostWork::setInline(true);
    }

    std::atomic<bool> release = false;
    std::atomic<int> asked = 0;
    std::atomic<QThread *> askedOn = nullptr;
    QColor answer = Qt::white;
    int changes = 0;

    // A session tool that answers only once the test lets it.
    PanelThemeShade::Probe slowProbe()
    {
        return [this] {
            askedOn = QThread::currentThread();
            ++asked;
            while (!release)
                QThread::msleep(1);
            return answer;
        };
    }
};

} // namespace

TEST_F(PanelThemeShadeTest, AnswersAtOnceWhileTheSessionIsAskedAwayFromTheGuiThread)
{
    const auto shade = PanelThemeShade::create(slowProbe(), [this] { ++changes; });
    // The tool hangs: the GUI thread is not held, and a second look asks nothing more.
    EXPECT_FALSE(shade->colour().isValid());
    EXPECT_FALSE(shade->colour().isValid());
    ASSERT_TRUE(test::waitUntil([&] { return asked == 1; }));
    EXPECT_NE(askedOn.load(), QCoreApplication::instance()->thread());
    EXPECT_TRUE(shade->asking());
    EXPECT_EQ(changes, 0);

    release = true;
    ASSERT_TRUE(test::waitUntil([&] { return changes == 1; }));
    EXPECT_FALSE(shade->asking());
    EXPECT_EQ(shade->colour(), QColor(Qt::white));
    EXPECT_EQ(asked.load(), 1); // the answer was waited for before the next question

    // The same answer again changes nothing; a new one is told once.
    ASSERT_TRUE(test::waitUntil([&] { return !shade->asking(); }));
    EXPECT_EQ(changes, 1);
    answer = Qt::black;
    shade->colour();
    ASSERT_TRUE(test::waitUntil([&] { return changes == 2; }));
    EXPECT_EQ(shade->colour(), QColor(Qt::black));
}

TEST_F(PanelThemeShadeTest, AnAnswerAfterTheShadeIsGoneReachesNoOne)
{
    auto shade = PanelThemeShade::create(slowProbe(), [this] { ++changes; });
    shade->colour();
    ASSERT_TRUE(test::waitUntil([&] { return asked == 1; }));
    shade.reset();
    release = true;
    ASSERT_TRUE(HostWork::drain());
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 0);
}
