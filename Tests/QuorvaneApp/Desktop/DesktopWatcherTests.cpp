#include "Desktop/DesktopWatcher.h"
#include "ManualScheduler.h"
#include "Paths.h"
#include "Shared/DocumentService.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <gtest/gtest.h>

#include <functional>

using namespace quorvane;
using quorvane::test::ManualScheduler;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

// The watcher's tests run real kernel events through the event loop and step the debounce on
// a manual clock.
class DesktopWatcherTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    QString folder = paths.desktop();
    ManualScheduler scheduler;
    int changes = 0;
    DesktopWatcher watcher{folder, 0.4, [this] { ++changes; }, scheduler};

    void SetUp() override { QDir().mkpath(folder); }

    // Serves events until the watcher has handled a new event (it schedules its call), or
    // fails after a bounded wait.
    void expectEventHandled()
    {
        const int before = scheduler.scheduledCount();
        QDeadlineTimer deadline(5000);
        while (scheduler.scheduledCount() == before && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_GT(scheduler.scheduledCount(), before) << "no event reached the watcher";
    }

    // Serves events for a while and expects that nothing was scheduled.
    void expectNothingHandled()
    {
        const int before = scheduler.scheduledCount();
        QDeadlineTimer deadline(200);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(scheduler.scheduledCount(), before);
    }

    void touch(const QString &name) { writeFile(folder + '/' + name, "x"); }
};

TEST_F(DesktopWatcherTest, ABurstOfChangesGivesOneCallAfterTheLastOne)
{
    watcher.start();
    for (int i = 0; i < 10; ++i) {
        touch(QStringLiteral("file %1").arg(i));
        expectEventHandled();
        scheduler.advance(0.1);
    }
    EXPECT_EQ(changes, 0);
    scheduler.advance(0.29); // 0.39 s after the last change
    EXPECT_EQ(changes, 0);
    scheduler.advance(0.01);
    EXPECT_EQ(changes, 1);
    scheduler.advance(10);
    EXPECT_EQ(changes, 1);

    // Renames and removals inside the folder count as changes too.
    QDir(folder).rename("file 0", "renamed");
    expectEventHandled();
    QFile::remove(folder + "/file 1");
    expectEventHandled();
    scheduler.advance(0.4);
    EXPECT_EQ(changes, 2);
}

TEST_F(DesktopWatcherTest, ChangesWhilePausedAreNeverReported)
{
    watcher.start();
    touch("before pause");
    expectEventHandled();
    watcher.pause(); // drops the pending call
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    touch("while paused");
    expectNothingHandled();
    watcher.resume();
    scheduler.advance(5);
    EXPECT_EQ(changes, 0);

    touch("after resume");
    expectEventHandled();
    scheduler.advance(0.4);
    EXPECT_EQ(changes, 1);
}

TEST_F(DesktopWatcherTest, StartingTwiceOpensOneWatchAndStopStartsAfresh)
{
    const int before = openDescriptors();
    watcher.start();
    const int descriptor = watcher.descriptor();
    EXPECT_GE(descriptor, 0);
    EXPECT_EQ(openDescriptors(), before + 1);
    watcher.start();
    EXPECT_EQ(watcher.descriptor(), descriptor);
    EXPECT_EQ(openDescriptors(), before + 1);

    touch("a");
    expectEventHandled();
    watcher.stop();
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(watcher.descriptor(), -1);
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(scheduler.pendingCount(), 0u); // the pending call went with the watch
    touch("b");
    expectNothingHandled();

    watcher.start();
    touch("c");
    expectEventHandled();
    scheduler.advance(0.4);
    EXPECT_EQ(changes, 1);
}

TEST_F(DesktopWatcherTest, AReplacedFolderIsWatchedAgain)
{
    const struct {
        const char *how;
        std::function<void(const QString &)> takeAway;
    } cases[] = {
        {"renamed away", [](const QString &path) { QDir().rename(path, path + " old"); }},
        {"removed", [](const QString &path) { QDir(path).removeRecursively(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        changes = 0;
        QDir(folder + " old").removeRecursively();
        watcher.start();
        touch("item");
        c.takeAway(folder);
        QDir().mkpath(folder); // a new folder at the path before the event is served
        expectEventHandled();
        EXPECT_TRUE(watcher.isWatching());
        scheduler.advance(0.4);
        EXPECT_EQ(changes, 1); // the reopening event is reported too

        if (QDir(folder + " old").exists()) {
            writeFile(folder + " old/elsewhere", "x");
            expectNothingHandled();
        }
        touch("in the new folder");
        expectEventHandled();
        scheduler.advance(0.4);
        EXPECT_EQ(changes, 2);
        watcher.stop();
    }
}

TEST_F(DesktopWatcherTest, AFolderGoneForGoodLeavesTheWatcherIdleUntilStartedAgain)
{
    watcher.start();
    QDir(folder).removeRecursively();
    expectEventHandled();
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(watcher.descriptor(), -1);
    scheduler.advance(0.4);
    EXPECT_EQ(changes, 1);

    QDir().mkpath(folder);
    touch("unseen");
    expectNothingHandled();
    watcher.start();
    EXPECT_TRUE(watcher.isWatching());
    touch("seen");
    expectEventHandled();
    scheduler.advance(0.4);
    EXPECT_EQ(changes, 2);
}

TEST_F(DesktopWatcherTest, AFolderThatCannotBeWatchedLeavesItIdle)
{
    DesktopWatcher missing(
        home.filePath("nowhere"), 0.4, [this] { ++changes; }, scheduler);
    missing.start();
    EXPECT_FALSE(missing.isWatching());
    EXPECT_EQ(missing.descriptor(), -1);
    writeFile(home.filePath("a file"), "x");
    DesktopWatcher onAFile(
        home.filePath("a file"), 0.4, [this] { ++changes; }, scheduler);
    onAFile.start();
    EXPECT_FALSE(onAFile.isWatching());
}

TEST_F(DesktopWatcherTest, AWatcherThatGoesAwayCancelsItsPendingCall)
{
    {
        DesktopWatcher shortLived(
            folder, 0.4, [this] { ++changes; }, scheduler);
        shortLived.start();
        touch("a");
        expectEventHandled();
        EXPECT_EQ(scheduler.pendingCount(), 1u);
    }
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    scheduler.advance(1);
    EXPECT_EQ(changes, 0);
}

TEST_F(DesktopWatcherTest, WatchesWhileTheDocumentsRulesAskForIt)
{
    QDir().mkpath(paths.store());
    DocumentService documents(paths.config(), paths.journal());
    DesktopWatcher following(
        folder, 0.4, [this] { ++changes; }, scheduler, &documents);
    const auto rules = [](bool enabled, bool watch, const QString &pattern) {
        return [=](Config &config) {
            CustomFilter rule;
            rule.pattern = pattern;
            config.settings.customFilters = {rule};
            config.settings.customFiltersEnabled = enabled;
            config.settings.customFiltersWatch = watch;
        };
    };
    documents.mutateConfig(rules(true, true, "shot"));
    EXPECT_FALSE(following.isWatching()); // nothing before the launch announces
    documents.announce();
    EXPECT_TRUE(following.isWatching());
    touch("shot 1");
    expectEventHandled();

    documents.mutateConfig(rules(true, false, "shot"));
    EXPECT_FALSE(following.isWatching());
    documents.mutateConfig(rules(true, true, ""));
    EXPECT_FALSE(following.isWatching()); // no rule that matches anything
    documents.mutateConfig(rules(false, true, "shot"));
    EXPECT_FALSE(following.isWatching());

    // A change that leaves the settings alone leaves the watcher as it is.
    following.start();
    documents.mutateConfig([](Config &config) { config.activeWorkspace = "Elsewhere"; });
    EXPECT_TRUE(following.isWatching());
}

} // namespace
