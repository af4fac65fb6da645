#include "DesktopHosts/DesktopHostProcess.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace quorvane;

TEST(DesktopHostProcess, TheEndOfAProcessIsWaitedForWithinItsLimit)
{
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted(5000));
    const qint64 pid = child.processId();
    EXPECT_FALSE(waitForProcessEnd(pid, 100)); // still runs
    child.kill();
    EXPECT_TRUE(waitForProcessEnd(pid, 5000)); // ended, even before anyone collects it
    child.waitForFinished(5000);
    EXPECT_TRUE(waitForProcessEnd(pid, 0)); // gone altogether
}
