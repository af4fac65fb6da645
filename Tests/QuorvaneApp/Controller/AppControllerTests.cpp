#include "Controller/AppController.h"
#include "Desktop/Archiver.h"
#include "Desktop/DesktopWatcher.h"
#include "DesktopSwapper.h"
#include "Fakes/FakeStatusItem.h"
#include "Fakes/RecordingActivationPolicy.h"
#include "Fakes/ScriptedAlertPresenter.h"
#include "ManualScheduler.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quorvane;

namespace {

struct ControllerFixture : ::testing::Test {
    test::TempHome home;
    test::ManualScheduler scheduler;
    test::ScriptedAlertPresenter alerts;
    test::RecordingActivationPolicy activation;
    std::shared_ptr<test::FakeStatusItem> status = std::make_shared<test::FakeStatusItem>();

    AppEnvironment environment()
    {
        return AppEnvironment{Paths::forHome(home.path()), AppInfo::installed(), [this] { return status; }, &scheduler, &alerts, &activation, nullptr, nullptr, {}, {}};
    }

    QStringList homeEntries() const
    {
        return QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

int visibleTopLevels()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

} // namespace

TEST_F(ControllerFixture, ConstructionTouchesNoFileAndShowsNothing)
{
    // A desktops folder that cannot even be read does not stop the controller being built.
    ASSERT_TRUE(QDir().mkpath(home.filePath("QuorVane Desktops")));
    ::chmod(QFile::encodeName(home.filePath("QuorVane Desktops")).constData(), 0);
    const QStringList before = homeEntries();
    const int windowsBefore = visibleTopLevels();
    {
        AppController controller(environment());
        EXPECT_EQ(homeEntries(), before);
        EXPECT_FALSE(status->visible);
        EXPECT_TRUE(status->images.empty());
        EXPECT_EQ(visibleTopLevels(), windowsBefore);
        EXPECT_EQ(scheduler.pendingCount(), 0u);
        EXPECT_FALSE(controller.swapInProgress());
        EXPECT_FALSE(controller.readOnly());
        EXPECT_EQ(AppController::schedulerInterval, 60);
        EXPECT_EQ(controller.lastDesktop(), std::nullopt);
        EXPECT_EQ(controller.switching().appearanceBaseline(), std::nullopt);
        EXPECT_TRUE(controller.statusMenu().menu().actions().isEmpty());
    }
    ::chmod(QFile::encodeName(home.filePath("QuorVane Desktops")).constData(), 0755);
    EXPECT_EQ(homeEntries(), before);
}

TEST_F(ControllerFixture, LazyComponentsAreBuiltOnceAndShareTheControllersObjects)
{
    AppController controller(environment());
    DesktopSwapper &engine = controller.swapper();
    EXPECT_EQ(&controller.swapper(), &engine);
    EXPECT_EQ(&engine.store(), static_cast<StateStore *>(&controller.store()));
    EXPECT_EQ(&engine.surface(), static_cast<DesktopSurface *>(&controller.surface()));
    EXPECT_EQ(&controller.archiver(), &controller.archiver());
    EXPECT_EQ(&controller.desktopWatcher(), &controller.desktopWatcher());
    EXPECT_EQ(&controller.spaceFollower(), &controller.spaceFollower());
    // The store and the surface are rooted in the given home folder.
    EXPECT_EQ(controller.store().files().configPath(), home.path() + "/QuorVane Desktops/.store/config.json");
    EXPECT_EQ(controller.surface().files().desktopPath(), home.path() + "/Desktop");
}

TEST_F(ControllerFixture, CallbacksOutlivingTheControllerAreInert)
{
    SpaceFollower::Handler followerCallback;
    {
        AppController controller(environment());
        controller.applicationDidFinishLaunching(); // installs the status item's click callback
        followerCallback = controller.spaceFollower().onSpaceSettled();
        EXPECT_EQ(followerCallback("space"), SpaceFollowResult::done);
    }
    // The controller is gone: the callback answers the neutral value and touches nothing.
    EXPECT_EQ(followerCallback("space"), SpaceFollowResult::done);
    status->click(StatusItem::Button::left);
    EXPECT_TRUE(status->poppedUpMenus.isEmpty());
}

TEST_F(ControllerFixture, LaunchShowsTheGlyphAndAClickOpensTheMenu)
{
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_TRUE(status->visible);
    ASSERT_FALSE(status->images.empty());
    EXPECT_FALSE(status->images.back().isNull());

    QStringList titles;
    status->whileMenuOpen = [&](QMenu &menu) {
        for (QAction *a : menu.actions())
            titles << a->text();
    };
    status->click(StatusItem::Button::left);
    EXPECT_EQ(status->poppedUpMenus.size(), 1);
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_EQ(titles.front(), QString("Default") + QString(5, QChar(0x00A0)));
    EXPECT_EQ(titles.back(), QString("Quit") + QString(5, QChar(0x00A0)));
}

// Without a status area the user is told, on screen, once a grace has passed (a panel may start
// after the application), and the settings window opens as the way in; a status area that comes
// later takes both back.
TEST_F(ControllerFixture, LaunchWithoutAStatusAreaTellsTheUserAfterAGraceAndTakesItBack)
{
    status->available = false;
    AppEnvironment env = environment();
    QStringList told;
    int withdrawn = 0;
    env.notice = [&](const QString &title, const QString &) {
        told << title;
        return std::function<void()>([&] { ++withdrawn; });
    };
    AppController controller(env);
    EXPECT_NO_THROW(controller.applicationDidFinishLaunching());
    scheduler.advance(StatusAreaNotice::graceSeconds - 1);
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(controller.windows().settingsWindow(), nullptr);
    scheduler.advance(2);
    EXPECT_EQ(told, QStringList{"Quorvane has no status area"});
    ASSERT_NE(controller.windows().settingsWindow(), nullptr);
    EXPECT_TRUE(controller.windows().settingsWindow()->isVisible());

    status->setAvailable(true);
    EXPECT_EQ(withdrawn, 1);
    EXPECT_FALSE(controller.windows().settingsWindow()->isVisible());
    // Gone and back again: not told a second time.
    status->setAvailable(false);
    scheduler.advance(StatusAreaNotice::graceSeconds * 2);
    EXPECT_EQ(told.size(), 1);
}

TEST_F(ControllerFixture, AStatusAreaThatComesWithinTheGraceIsNoMissingOne)
{
    status->available = false;
    AppEnvironment env = environment();
    QStringList told;
    env.notify = [&](const QString &title, const QString &) { told << title; };
    AppController controller(env);
    controller.applicationDidFinishLaunching();
    scheduler.advance(2);
    status->setAvailable(true);
    scheduler.advance(StatusAreaNotice::graceSeconds * 2);
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(controller.windows().settingsWindow(), nullptr);
}
