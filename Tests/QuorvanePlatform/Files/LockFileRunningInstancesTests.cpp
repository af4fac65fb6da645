#include "Files/LockFileRunningInstances.h"
#include "TestEnvironment.h"
#include "Wait.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace quorvane;

namespace {
const QString identifier = QStringLiteral("app.quorvane.Quorvane");
// An id no live process has: far above the kernel's largest pid.
constexpr qint64 otherSelf = 999999999;
} // namespace

TEST(LockFileRunningInstances, ASecondInstanceSeesTheFirstUntilItReleases)
{
    test::TempHome runtime;
    LockFileRunningInstances first(identifier, runtime.path());
    LockFileRunningInstances second(identifier, runtime.path(), otherSelf);

    EXPECT_FALSE(second.otherInstancePid());
    ASSERT_TRUE(first.claim());
    EXPECT_EQ(test::readFile(first.lockFilePath()).trimmed().toLongLong(), qint64(::getpid()));
    EXPECT_FALSE(first.otherInstancePid()); // its own claim is no other instance

    EXPECT_EQ(second.otherInstancePid(), std::optional<qint64>(::getpid()));
    EXPECT_FALSE(second.claim());
    EXPECT_FALSE(second.holdsClaim());

    first.release();
    EXPECT_FALSE(second.otherInstancePid());
    EXPECT_TRUE(second.claim());
    EXPECT_FALSE(first.claim());
}

TEST(LockFileRunningInstances, AFileLeftByAGoneProcessIsIgnoredAndTakenOver)
{
    test::TempHome runtime;
    const QString path = runtime.filePath(identifier + ".pid");
    test::writeFile(path, QByteArray::number(qint64(::getpid())) + "\n"); // a live pid, but no lock
    LockFileRunningInstances instance(identifier, runtime.path(), otherSelf);
    EXPECT_FALSE(instance.otherInstancePid());
    ASSERT_TRUE(instance.claim());
    EXPECT_EQ(test::readFile(path).trimmed().toLongLong(), otherSelf);
}

TEST(LockFileRunningInstances, SeesAnotherProcessHoldingTheLockAndForgetsItOnceGone)
{
    const QString flock = QStandardPaths::findExecutable(QStringLiteral("flock"));
    if (flock.isEmpty())
        GTEST_SKIP() << "flock(1) is not installed";
    test::TempHome runtime;
    LockFileRunningInstances instance(identifier, runtime.path());
    const QString path = runtime.filePath(identifier + ".pid");

    QProcess holder;
    holder.start(flock, {QStringLiteral("--nonblock"), QStringLiteral("--no-fork"), path, QStringLiteral("sleep"), QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    // The holder's pid goes into the file the way a claiming instance writes it.
    test::waitUntil([&] { return QFileInfo::exists(path); }, 5000);
    test::writeFile(path, QByteArray::number(holder.processId()) + "\n");
    std::optional<qint64> seen;
    test::waitUntil([&] { return (seen = instance.otherInstancePid()).has_value(); }, 5000);
    EXPECT_EQ(seen, std::optional<qint64>(holder.processId()));
    EXPECT_FALSE(instance.claim());

    holder.kill();
    holder.waitForFinished();
    EXPECT_FALSE(instance.otherInstancePid());
    EXPECT_TRUE(instance.claim());
}

TEST(LockFileRunningInstances, WithoutAnIdentifierThereIsNeverAnotherInstance)
{
    test::TempHome runtime;
    LockFileRunningInstances first(QString(), runtime.path());
    LockFileRunningInstances second(QString(), runtime.path(), otherSelf);
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(second.claim());
    EXPECT_FALSE(second.otherInstancePid());
    EXPECT_TRUE(QDir(runtime.path()).isEmpty());
}

TEST(LockFileRunningInstances, StandardRuntimeFolderIsTheXdgOne)
{
    EXPECT_EQ(LockFileRunningInstances::standardRuntimeFolder(), qEnvironmentVariable("XDG_RUNTIME_DIR"));
}

TEST(LockFileRunningInstances, AnUnusableLockFileIsNoOtherInstance)
{
    // A folder where the lock file belongs cannot be opened: that is no running instance, and
    // the application must still start.
    test::TempHome runtime;
    LockFileRunningInstances instance(identifier, runtime.path());
    ASSERT_TRUE(QDir().mkpath(instance.lockFilePath()));
    EXPECT_FALSE(instance.otherInstancePid());
    EXPECT_TRUE(instance.claim());
}
