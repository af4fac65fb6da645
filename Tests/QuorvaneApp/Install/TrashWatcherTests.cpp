#include "Install/TrashWatcher.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QString identifier = QStringLiteral("app.quorvane.Quorvane");

struct TrashWatcherTest : ::testing::Test {
    TempHome home;
    QString exe = home.filePath("prefix/bin/quorvane");
    QString trash = home.filePath("data/Trash/files");
    int fired = 0;
    std::unique_ptr<TrashWatcher> watcher;

    void SetUp() override
    {
        writeFile(exe, "binary");
        QDir().mkpath(trash);
        watcher = std::make_unique<TrashWatcher>(identifier, exe, trash);
        watcher->onTrashed = [this] { ++fired; };
        watcher->start();
        ASSERT_TRUE(watcher->isWatching());
    }
    // Serves events until fired reaches the count or the time is up.
    void settle(int expected, int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds && fired < expected)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    void move(const QString &from, const QString &to)
    {
        QDir().mkpath(QFileInfo(to).absolutePath());
        ASSERT_EQ(::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()), 0);
    }
};

} // namespace

TEST_F(TrashWatcherTest, ArrivingInTheUsersTrashCallsOncePerArrival)
{
    move(exe, trash + "/quorvane");
    settle(1, 2000);
    EXPECT_EQ(fired, 1);
    // More changes while it lies there are no new arrival.
    writeFile(trash + "/other", "x");
    move(trash + "/other", trash + "/other 2");
    move(trash + "/quorvane", trash + "/quorvane.2");
    settle(2, 200);
    EXPECT_EQ(fired, 1);
    // Put back, then trashed again: a second arrival.
    move(trash + "/quorvane.2", exe);
    settle(2, 200);
    EXPECT_EQ(fired, 1);
    move(exe, trash + "/quorvane");
    settle(2, 2000);
    EXPECT_EQ(fired, 2);
}

TEST_F(TrashWatcherTest, AVolumesTrashFolderCounts)
{
    const QString volumeTrash = home.filePath(QStringLiteral(".Trash-%1/files/quorvane").arg(::getuid()));
    move(exe, volumeTrash);
    settle(1, 2000);
    EXPECT_EQ(fired, 1);
}

TEST_F(TrashWatcherTest, RenamedInPlaceMovedElsewhereOrDeletedIsNoTrash)
{
    move(exe, home.filePath("prefix/bin/quorvane-old"));
    settle(1, 200);
    move(home.filePath("prefix/bin/quorvane-old"), home.filePath("elsewhere/quorvane"));
    settle(1, 200);
    // A folder merely named like a Trash is none.
    move(home.filePath("elsewhere/quorvane"), home.filePath("Trash files/quorvane"));
    settle(1, 200);
    ASSERT_TRUE(QFile::remove(home.filePath("Trash files/quorvane")));
    settle(1, 200);
    EXPECT_EQ(fired, 0);
    EXPECT_TRUE(watcher->isWatching());
}

TEST(TrashWatcher, TheBareExecutableOrAMissingFileIsNeverWatched)
{
    TempHome home;
    const QString exe = home.filePath("bin/quorvane");
    writeFile(exe, "binary");
    TrashWatcher bare(QString(), exe, home.filePath("Trash/files"));
    bare.start();
    EXPECT_FALSE(bare.isWatching());
    TrashWatcher missing(identifier, home.filePath("bin/gone"), home.filePath("Trash/files"));
    missing.start();
    EXPECT_FALSE(missing.isWatching());

    TrashWatcher twice(identifier, exe, home.filePath("Trash/files"));
    twice.start();
    twice.start();
    EXPECT_TRUE(twice.isWatching());
    EXPECT_TRUE(twice.isInTrash(home.filePath("Trash/files/quorvane")));
    EXPECT_TRUE(twice.isInTrash("/media/usb/.Trash/501/quorvane"));
    EXPECT_FALSE(twice.isInTrash(home.filePath("Trash/filesX/quorvane")));
    EXPECT_FALSE(twice.isInTrash("/media/usb/.Trash-0/info/quorvane"));
}
