#include "Controller/ControllerHarness.h"
#include "Fakes/FakeUpdaterBackend.h"
#include "Install/Updater.h"

#include <QAction>

using namespace quorvane;
using quorvane::test::LogCapture;

namespace {

const QString identifier = QStringLiteral("app.quorvane.Quorvane");
const QString postponing = QStringLiteral("update ready but a swap is in flight — postponing install until idle");
const QString releasing = QStringLiteral("swap engine idle — releasing the postponed update");
const QString standingDown = QStringLiteral("update install beginning — TrashWatcher standing down");

struct UpdaterTest : ::testing::Test {
    test::ManualScheduler scheduler;
    test::FakeUpdaterBackend backend;
    bool busy = false;
    int probes = 0;
    Updater updater{identifier, &backend, scheduler};

    void SetUp() override
    {
        updater.start([this] {
            ++probes;
            return busy;
        });
        ASSERT_EQ(backend.delegate, &updater.coordinator());
    }
};

} // namespace

TEST_F(UpdaterTest, AnUpdateReadyDuringASwitchWaitsInHalfSecondStepsUntilIdle)
{
    LogCapture log;
    busy = true;
    int released = 0;
    EXPECT_TRUE(backend.delegate->shouldPostponeRelaunch([&] { ++released; }));
    EXPECT_EQ(log.lines, QStringList{postponing});
    probes = 0;
    scheduler.advance(0.49);
    EXPECT_EQ(probes, 0);
    scheduler.advance(0.01);
    EXPECT_EQ(probes, 1);
    scheduler.advance(1.0);
    EXPECT_EQ(probes, 3);
    EXPECT_EQ(released, 0);
    EXPECT_EQ(scheduler.pendingCount(), 1u); // one re-check at a time

    busy = false; // the switch and its journal are gone
    scheduler.advance(0.5);
    EXPECT_EQ(released, 1);
    EXPECT_EQ(log.lines, (QStringList{postponing, releasing}));
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    scheduler.advance(5);
    EXPECT_EQ(released, 1);
}

TEST_F(UpdaterTest, AnUpdateReadyWhileIdleGoesOnAtOnceAndTheInstallIsMarkedOnce)
{
    LogCapture log;
    int released = 0;
    EXPECT_FALSE(backend.delegate->shouldPostponeRelaunch([&] { ++released; }));
    EXPECT_EQ(released, 0); // the framework goes on by itself
    EXPECT_TRUE(log.lines.isEmpty());

    EXPECT_FALSE(updater.updateInFlight());
    backend.delegate->willInstallUpdate();
    backend.delegate->willRelaunchApplication();
    EXPECT_TRUE(updater.updateInFlight());
    EXPECT_EQ(log.lines, QStringList{standingDown});
}

TEST(Updater, WithoutAFrameworkOrAnIdentifierNothingStartsAndNoCheckIsOffered)
{
    test::ManualScheduler scheduler;
    Updater none(identifier, nullptr, scheduler);
    EXPECT_EQ(none.frameworkVersion(), std::nullopt);
    EXPECT_FALSE(none.offersUpdates());
    none.start([] { return false; });
    none.checkForUpdates();

    test::FakeUpdaterBackend backend;
    Updater bare(QString(), &backend, scheduler);
    EXPECT_EQ(bare.frameworkVersion(), "2.6.4");
    EXPECT_FALSE(bare.offersUpdates());
    bare.start([] { return false; });
    EXPECT_EQ(backend.starts, 0);

    backend.loadedVersion.reset(); // a framework without a version is not loaded
    Updater unloaded(identifier, &backend, scheduler);
    EXPECT_FALSE(unloaded.offersUpdates());
    unloaded.start([] { return false; });
    EXPECT_EQ(backend.starts, 0);
}

namespace {
struct UpdaterInTheController : test::ControllerHarness {
    test::FakeUpdaterBackend backend;

    QAction *checkItem(AppController &controller)
    {
        for (QAction *action : controller.statusMenu().menu().actions()) {
            if (action->text().startsWith(u"Check for Updates\u2026"_qs))
                return action;
        }
        return nullptr;
    }
};
} // namespace

TEST_F(UpdaterInTheController, TheMenuOffersTheCheckOnlyWithALoadedFramework)
{
    {
        LogCapture log;
        AppController controller(environment());
        controller.applicationDidFinishLaunching();
        EXPECT_EQ(checkItem(controller), nullptr);
        EXPECT_EQ(log.count("update framework not loaded"), 1);
    }
    AppEnvironment env = environment();
    env.updaterBackend = &backend;
    AppController controller(env);
    LogCapture log;
    controller.applicationDidFinishLaunching();
    EXPECT_EQ(log.count("update framework 2.6.4 loaded"), 1);
    EXPECT_EQ(backend.starts, 1);
    QAction *check = checkItem(controller);
    ASSERT_NE(check, nullptr);
    check->trigger();
    EXPECT_EQ(backend.checks, 1);

    // The busy probe the controller gave is the switch test: a pending journal holds it.
    test::writeFile(paths().journal(), R"({"fromWorkspace":"Default","toWorkspace":"X","outgoing":[],"incoming":[]})");
    int released = 0;
    EXPECT_TRUE(backend.delegate->shouldPostponeRelaunch([&] { ++released; }));
    QFile::remove(paths().journal());
    scheduler.advance(0.5);
    EXPECT_EQ(released, 1);
}
