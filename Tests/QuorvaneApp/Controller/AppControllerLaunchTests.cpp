#include "Controller/ControllerHarness.h"
#include "FakeBackgroundHost.h"
#include "Journal.h"
#include "Wait.h"
#include "Work/HostWork.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QThread>
#include <QTimer>

#include <atomic>

#include <cstring>

using namespace quorvane;
using quorvane::test::LogCapture;
using quorvane::test::readFile;
using quorvane::test::writeFile;

namespace {

struct Launch : test::ControllerHarness {};

bool launched(const test::FakeStatusItem &status)
{
    return status.visible;
}

} // namespace

TEST_F(Launch, WithNoOtherInstanceTheLaunchCompletesAtOnce)
{
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_TRUE(launched(*status));
    EXPECT_TRUE(instances.claimed);
    EXPECT_TRUE(QFileInfo::exists(paths().config()));
    EXPECT_FALSE(controller.statusMenu().menu().actions().isEmpty());
}

TEST_F(Launch, TheNewInstanceTakesOverAtTheLookThatFindsTheOtherGone)
{
    instances.otherPid = 4242;
    AppController controller(environment());
    LogCapture log;
    controller.applicationDidFinishLaunching();
    EXPECT_FALSE(launched(*status));
    EXPECT_EQ(log.count(u"another instance is running (pid 4242) — waiting to see if it's exiting"_qs), 1);
    scheduler.advance(1.75);
    EXPECT_FALSE(launched(*status));
    EXPECT_FALSE(QFileInfo::exists(root()));
    instances.otherPid.reset(); // the other instance quits 2 seconds after this one started
    scheduler.advance(0.25);
    EXPECT_TRUE(launched(*status));
    EXPECT_EQ(log.count(u"previous instance exited — taking over"_qs), 1);
    // The first sighting, then looks at 0, 0.5, 1.0, 1.5 and 2.0 seconds.
    EXPECT_EQ(instances.lookups, 6);
    EXPECT_EQ(terminations, 0);
}

TEST_F(Launch, AnInstanceThatStaysMakesTheNewOneQuitAtSixSecondsWithoutTouchingAnything)
{
    instances.otherPid = 4242;
    AppController controller(environment());
    LogCapture log;
    controller.applicationDidFinishLaunching();
    scheduler.advance(5.99);
    EXPECT_EQ(terminations, 0);
    scheduler.advance(0.01);
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(instances.lookups, 14);
    EXPECT_EQ(log.count(u"another instance is alive and staying — this one quits"_qs), 1);
    scheduler.advance(10);
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(launched(*status));
    EXPECT_FALSE(QFileInfo::exists(root()));
    EXPECT_FALSE(instances.claimed);
}

TEST_F(Launch, TheFirstRunMakesTheDesktopDefaultWithoutMovingAnything)
{
    touch(desktop(), {"c.txt", "a.txt", "b folder"});
    AppController controller(environment());
    LogCapture log;
    controller.applicationDidFinishLaunching();

    const Config config = load();
    EXPECT_EQ(config.activeWorkspace, "Default");
    ASSERT_EQ(config.workspaces.size(), 2u);
    EXPECT_EQ(config.workspaces[0].name, "Default");
    EXPECT_EQ(config.workspaces[0].files, (QStringList{"a.txt", "b folder", "c.txt"}));
    EXPECT_EQ(config.workspaces[0].state, WorkspaceState::active);
    EXPECT_EQ(config.workspaces[1].name, Config::blankWorkspaceName);
    EXPECT_TRUE(config.workspaces[1].files.isEmpty());
    EXPECT_TRUE(QFileInfo(root() + "/Default").isDir());
    EXPECT_TRUE(QFileInfo(root() + '/' + Config::blankWorkspaceName).isDir());
    EXPECT_EQ(readFile(root() + "/.hidden"), Config::blankWorkspaceName.toUtf8() + '\n');
    EXPECT_EQ(entries(desktop()), (QStringList{"a.txt", "b folder", "c.txt"}));
    EXPECT_TRUE(entries(root() + "/Default").isEmpty());
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(log.count(u"Quorvane "_qs + info.shortVersion + u" launched"_qs), 1);
    EXPECT_EQ(log.count(u"update framework not loaded"_qs), 1);
    // The menu lists the new desktop, checked.
    EXPECT_TRUE(controller.statusMenu().model().items[0].checked);
    EXPECT_EQ(controller.statusMenu().model().items[0].workspace, "Default");

    // A second launch changes nothing and does not add the blank desktop's line twice.
    const QStringList before = load().workspaces[0].files;
    AppController again(environment());
    again.completeLaunch();
    EXPECT_EQ(load().workspaces[0].files, before);
    EXPECT_EQ(readFile(root() + "/.hidden"), Config::blankWorkspaceName.toUtf8() + '\n');
}

// The first run's read of the Desktop's icon positions may wait for the host's child process: it
// runs away from the event loop, and the launch's later steps follow once it is back.
TEST_F(Launch, TheFirstRunReadsTheDesktopsPositionsAwayFromTheEventLoopAndThenGoesOn)
{
    touch(desktop(), {"a.txt", "b.txt"});
    iconHost->store = {{"a.txt", IconPosition{4, 5}}};
    std::atomic<int> ticks = 0;
    std::atomic<int> ticksDuringRead = -1;
    iconHost->duringRead = [&] {
        const int before = ticks;
        QThread::msleep(200);
        ticksDuringRead = ticks - before;
    };
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    AppController controller(environment());
    HostWork::setInline(false);
    controller.completeLaunch();
    EXPECT_TRUE(load().workspaces.empty()) << "the first desktop waits for its positions";
    EXPECT_TRUE(test::waitUntil([&] { return !controller.statusMenu().model().items.empty()
                                          && controller.statusMenu().model().items[0].workspace == "Default"; }));
    HostWork::drain();
    HostWork::setInline(true);
    EXPECT_GE(ticksDuringRead, 3) << "the event loop was served while the host was read";
    const Config config = load();
    ASSERT_EQ(config.workspaces.size(), 2u);
    EXPECT_EQ(config.workspaces[0].files, (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(config.workspaces[0].positions.value("a.txt"), (IconPosition{4, 5}));
    EXPECT_EQ(config.workspaces[0].positions.size(), 1);
    EXPECT_TRUE(QFileInfo(root() + "/Default").isDir());
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Launch, ANewerDocumentGivesOneAlertAReadOnlySessionAndTheLaunchGoesOn)
{
    QGuiApplication::setWindowIcon(QIcon()); // as at a start: another test may have launched before
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    QByteArray text = configBytes();
    text.replace("\"schemaVersion\":1", "\"schemaVersion\":2");
    ASSERT_TRUE(text.contains("\"schemaVersion\":2"));
    writeFile(paths().config(), text);
    AppController controller(environment());
    LogCapture log;
    controller.applicationDidFinishLaunching();
    EXPECT_TRUE(controller.readOnly());
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "This copy of Quorvane is older than your data");
    EXPECT_EQ(alerts.shown[0].informativeText,
              u"Your desktops were last managed by a newer version of Quorvane. Your files and settings are safe and "
              u"untouched — but switching and changes are paused until you run the newer version again (or update this one)."_qs);
    EXPECT_EQ(alerts.shown[0].buttons, QStringList{"OK"});
    EXPECT_EQ(log.count(u"config.json schema 2 > 1 — read-only session"_qs), 1);
    EXPECT_TRUE(launched(*status));
    EXPECT_FALSE(controller.statusMenu().menu().actions().isEmpty());
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull()) << "the launch gives the windows their icon";
    controller.performSwitch("B", true);
    EXPECT_EQ(configBytes(), text);
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});
}

TEST_F(Launch, TheLegacyBlankNameIsMigratedEverywhere)
{
    Config config = layOut({{"A", {"a1"}}});
    QDir(root() + '/' + Config::blankWorkspaceName).removeRecursively();
    config.workspaces.back().name = "_blank";
    config.activeWorkspace = "_blank";
    config.lastExpandedWorkspace = "_blank";
    save(config);
    touch(root() + "/_blank", {"left.txt"});
    QDir(desktop()).removeRecursively();
    QDir().mkpath(desktop());
    QDir().mkpath(root() + "/A");
    touch(root() + "/A", {"a1"});

    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    const Config migrated = load();
    EXPECT_FALSE(migrated.hasWorkspace("_blank"));
    EXPECT_TRUE(migrated.hasWorkspace(Config::blankWorkspaceName));
    EXPECT_EQ(migrated.activeWorkspace, Config::blankWorkspaceName);
    EXPECT_EQ(migrated.lastExpandedWorkspace, Config::blankWorkspaceName);
    EXPECT_FALSE(QFileInfo::exists(root() + "/_blank"));
    EXPECT_TRUE(QFile::exists(root() + '/' + Config::blankWorkspaceName + "/left.txt"));
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(Launch, StartMinimizedCollapsesToTheBlankDesktopAndRemembersTheActiveOne)
{
    Config config = layOut({{"Work", {"w1"}}});
    config.settings.startMinimized = true;
    save(config);
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    scheduler.advance(2);
    const Config after = load();
    EXPECT_EQ(after.activeWorkspace, Config::blankWorkspaceName);
    EXPECT_EQ(after.lastExpandedWorkspace, QString("Work"));
    EXPECT_EQ(entries(root() + "/Work"), QStringList{"w1"});
    EXPECT_TRUE(entries(desktop()).isEmpty());
    EXPECT_TRUE(alerts.shown.empty()); // no first-switch note for the start-up collapse
}

TEST_F(Launch, AReadOnlySessionLeavesAPendingSwitchAndTheBlankFolderAlone)
{
    layOut({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    QFile::rename(desktop() + "/a2", root() + "/A/a2");
    store().saveJournal(Journal{"A", "B", {"a1", "a2"}, {"b1"}});
    touch(root() + "/" + Config::blankWorkspaceName, {"h1"});
    QByteArray text = configBytes();
    text.replace("\"schemaVersion\":1", "\"schemaVersion\":2");
    writeFile(paths().config(), text);

    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_TRUE(controller.readOnly());
    // Nothing moves that the document could not record.
    EXPECT_EQ(entries(desktop()), QStringList{"a1"});
    EXPECT_EQ(entries(root() + "/A"), QStringList{"a2"});
    EXPECT_EQ(entries(root() + "/B"), QStringList{"b1"});
    EXPECT_EQ(entries(root() + "/" + Config::blankWorkspaceName), QStringList{"h1"});
    EXPECT_TRUE(QFileInfo::exists(paths().journal()));
    EXPECT_EQ(configBytes(), text);
    EXPECT_EQ(alerts.shown.size(), 1u); // only the newer-version alert
}

TEST_F(Launch, AnInterruptedSwitchIsFinishedFromItsJournal)
{
    layOut({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    // The crash came after a2 had left: a1 is still on the Desktop, b1 still in its folder.
    QFile::rename(desktop() + "/a2", root() + "/A/a2");
    store().saveJournal(Journal{"A", "B", {"a1", "a2"}, {"b1"}});
    AppController controller(environment());
    LogCapture log;
    controller.applicationDidFinishLaunching();
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
    EXPECT_EQ(entries(root() + "/A"), (QStringList{"a1", "a2"}));
    EXPECT_FALSE(QFileInfo::exists(paths().journal()));
    EXPECT_EQ(load().activeWorkspace, "B");
    EXPECT_EQ(log.count(u"crash-recovery journal found — finishing the interrupted swap"_qs), 1);
    EXPECT_EQ(log.count(u"crash recovery complete"_qs), 1);
}

TEST_F(Launch, DueTimersWaitWhileAJournalIsPending)
{
    for (const bool pending : {false, true}) {
        test::TempHome caseHome;
        pathsOverride = Paths::forHome(caseHome.path());
        Config config = layOut({{"A", {}}, {"Temp", {"t1"}}});
        config.workspace("Temp")->type = WorkspaceType::temporary;
        config.workspace("Temp")->timer = ArchiveTimer{ArchiveTimerMode::idle, 1};
        config.workspace("Temp")->lastActiveAt = dateNow() - 10 * 86400;
        save(config);
        if (pending)
            writeFile(paths().journal(), "{not json");
        AppController controller(environment());
        controller.applicationDidFinishLaunching();
        const Config after = load();
        EXPECT_EQ(after.workspace("Temp")->state == WorkspaceState::active, pending);
        EXPECT_EQ(QFile::exists(root() + "/Temp/t1"), pending);
        // The recovery failure is the one alert.
        EXPECT_EQ(alerts.shown.size(), pending ? 1u : 0u);
        alerts.shown.clear();
    }
}

TEST_F(Launch, ABootstrapErrorIsShownOnceAndTheLaunchGoesOn)
{
    QDir().mkpath(paths().store());
    writeFile(paths().config(), "{\"activeWorkspace\": 12}");
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Something went wrong");
    EXPECT_TRUE(launched(*status));
    EXPECT_EQ(controller.statusMenu().model().titles().size(), 8); // the default document's menu, no update check
    EXPECT_EQ(readFile(paths().config()), "{\"activeWorkspace\": 12}");
}

TEST_F(Launch, ArchivedDesktopsGetNoFolderAtStartUp)
{
    Config config = layOut({{"A", {}}});
    Workspace old = Workspace::make("Old");
    old.state = WorkspaceState::archivedUnsorted;
    old.archiveLocation = root() + "/Archive/Old";
    config.workspaces.insert(config.workspaces.end() - 1, old);
    save(config);
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_FALSE(QFileInfo::exists(root() + "/Old"));
    EXPECT_TRUE(QFileInfo(root() + "/A").isDir());
}

TEST_F(Launch, ARestoreStoppedBeforeItsRecordIsCompletedAndLookAlikesOfCopiesStay)
{
    // "Back" was moved home from its archive and the process died before the record said so;
    // "Away" is still archived where its record says.
    Config config = layOut({{"A", {}}});
    for (const QString &name : {QStringLiteral("Back"), QStringLiteral("Away")}) {
        Workspace w = Workspace::make(name);
        w.state = WorkspaceState::archivedUnsorted;
        w.archiveLocation = paths().defaultArchiveRoot() + '/' + name + "-2026-01-05";
        config.workspaces.insert(config.workspaces.end() - 1, w);
    }
    save(config);
    touch(root() + "/Back", {"b1.txt"});
    touch(paths().defaultArchiveRoot() + "/Away-2026-01-05", {"a1.txt"});
    // A hidden copy an older build left without a record in the store, and a user's folder of
    // such a name: neither is the application's to remove.
    touch(root() + "/.quorvane-copy-0a1b2c3d-Away", {"source"});
    touch(root() + "/.quorvane-copy-0a1b2c3d-Away/item", {"a1.txt"});
    touch(root() + "/.quorvane-copy-stray", {"mine.txt"});
    touch(root() + "/A/.quorvane-copy-mine", {"mine.txt"});
    touch(paths().defaultArchiveRoot() + "/.quorvane-copy-photos", {"photo.jpg"});

    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    const Config after = load();
    EXPECT_EQ(after.workspace("Back")->state, WorkspaceState::active);
    EXPECT_FALSE(after.workspace("Back")->archiveLocation);
    EXPECT_EQ(readFile(root() + "/Back/b1.txt"), "b1.txt");
    EXPECT_EQ(after.workspace("Away")->state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(readFile(root() + "/.quorvane-copy-0a1b2c3d-Away/item/a1.txt"), "a1.txt");
    EXPECT_EQ(readFile(root() + "/.quorvane-copy-stray/mine.txt"), "mine.txt");
    EXPECT_EQ(readFile(root() + "/A/.quorvane-copy-mine/mine.txt"), "mine.txt");
    EXPECT_EQ(readFile(paths().defaultArchiveRoot() + "/.quorvane-copy-photos/photo.jpg"), "photo.jpg");
    EXPECT_EQ(readFile(paths().defaultArchiveRoot() + "/Away-2026-01-05/a1.txt"), "a1.txt");
}

TEST_F(Launch, ADesktopThatIsTheHomeFolderIsRefusedWithOneAlertAndNothingMoves)
{
    pathsOverride = Paths(home.path(), home.path());
    touch(home.path(), {"letter.txt", "photo.png"});
    const QStringList before = entries(home.path());
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Quorvane can't use this Desktop folder");
    EXPECT_EQ(entries(home.path()), before);
    EXPECT_FALSE(QFileInfo::exists(root()));
    EXPECT_TRUE(launched(*status));
}

namespace {

// Every entry below the folder with its bytes (folders as names only), for "touched nothing".
QByteArray wholeTree(const QString &folder)
{
    QByteArray out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString &path : paths) {
        const QFileInfo info(path);
        out += path.toUtf8() + (info.isDir() ? QByteArray("/") : '=' + readFile(path)) + '\n';
    }
    return out;
}

} // namespace

TEST_F(Launch, ADesktopsFolderThatCantBeWrittenIsSaidSoNotTakenForAnotherInstance)
{
    // The lock's folder cannot be made (a file stands in its place; permissions do not stop
    // the superuser that tests may run as).
    writeFile(paths().store(), "not a folder");
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_EQ(terminations, 1);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown.back().message, "Quorvane can't write to its desktops folder");
    EXPECT_TRUE(alerts.shown.back().informativeText.contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))))
        << alerts.shown.back().informativeText.toStdString();
    EXPECT_FALSE(launched(*status));
}

TEST_F(Launch, ASecondProcessOnTheSameDesktopsFolderShowsOneAlertTouchesNothingAndQuits)
{
    layOut({{"A", {"a1"}}, {"B", {"b1"}}});
    AppController first(environment());
    first.applicationDidFinishLaunching();
    ASSERT_TRUE(launched(*status));
    const QByteArray before = wholeTree(home.path());
    const std::size_t alertsBefore = alerts.shown.size();

    // Another identity, or another runtime folder: the identity-based hand-over sees nobody.
    test::FakeRunningInstances elsewhere;
    AppEnvironment env = environment();
    env.instances = &elsewhere;
    auto secondStatus = std::make_shared<test::FakeStatusItem>();
    env.makeStatusItem = [secondStatus] { return secondStatus; };
    AppController second(env);
    second.applicationDidFinishLaunching();
    EXPECT_EQ(terminations, 1);
    ASSERT_EQ(alerts.shown.size(), alertsBefore + 1);
    EXPECT_EQ(alerts.shown.back().message, "Quorvane is already running");
    EXPECT_FALSE(secondStatus->visible);
    second.performSwitch("B", true);
    const QByteArray after = wholeTree(home.path());
    EXPECT_EQ(after, before) << before.toStdString() << "\n---\n"
                             << after.toStdString();

    // The first one still works.
    first.performSwitch("B", true);
    EXPECT_EQ(entries(desktop()), QStringList{"b1"});
}

TEST_F(Launch, ANewerDocumentIsNeverReplacedAndNothingIsCreated)
{
    QDir().mkpath(paths().store());
    const QByteArray text = R"({"schemaVersion":99,"activeWorkspace":"Later","desktopSets":[{"name":"Later"}]})";
    writeFile(paths().config(), text);
    touch(desktop(), {"d1"});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_TRUE(controller.readOnly());
    EXPECT_EQ(configBytes(), text);
    EXPECT_EQ(QDir(root()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{".store"});
    EXPECT_EQ(entries(desktop()), QStringList{"d1"});
    EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST_F(Launch, ADocumentWithoutDesktopsGetsTheFirstRunRecordsAndKeepsEverythingElse)
{
    Config config;
    config.settings.moveGapMs = 77;
    config.settings.pinnedFolders = {"Pinned"};
    config.lastExpandedWorkspace = "Somewhere";
    save(config);
    touch(desktop(), {"d1"});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    const Config after = load();
    ASSERT_EQ(after.workspaces.size(), 2u);
    EXPECT_EQ(after.workspaces[0].name, "Default");
    EXPECT_EQ(after.workspaces[0].files, QStringList{"d1"});
    EXPECT_EQ(after.activeWorkspace, "Default");
    EXPECT_EQ(after.settings.moveGapMs, 77);
    EXPECT_EQ(after.settings.pinnedFolders, QStringList{"Pinned"});
    EXPECT_EQ(after.lastExpandedWorkspace, QString("Somewhere"));
}

TEST_F(Launch, ARecoveryThatLeavesAnItemNamesItInOneAlert)
{
    layOut({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    // An interrupted switch whose item a1 meets another of its name in A's folder.
    writeFile(root() + "/A/a1", "another a1");
    store().saveJournal(Journal{"A", "B", {"a1", "a2"}, {"b1"}});
    AppController controller(environment());
    controller.applicationDidFinishLaunching();
    EXPECT_FALSE(QFileInfo::exists(paths().journal()));
    EXPECT_EQ(entries(desktop()), (QStringList{"a1", "b1"}));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, u"\u201Ca1\u201D stayed where it was"_qs);
}

TEST_F(Launch, ABackgroundACrashLeftKeptComesBackAndQuittingPutsTheUsersBack)
{
    Config config = layOut({{"Default", {"a.txt"}}, {"Sea", {}}});
    config.workspaces[1].cue = DesktopCue(true, DesktopCue::Fill::color("#336699"), 1.0, false, false);
    save(config);
    auto host = std::make_shared<test::FakeBackgroundHost>();
    const QVariantMap users{{"picture", "/home/me/mine.jpg"}};
    host->settings = users;
    DesktopBackground(paths(), [host] { return host; }).show(DesktopCue::Fill::color("#FF0000")); // then a crash

    AppEnvironment env = environment();
    env.backgroundHost = [host] { return host; };
    {
        AppController controller(env);
        controller.applicationDidFinishLaunching();
        EXPECT_EQ(host->settings, users); // Default has no cue
        EXPECT_FALSE(QFileInfo::exists(paths().store() + "/ledger.json"));
        controller.performSwitch("Sea", true);
        EXPECT_EQ(host->settings.value("color"), "#336699");
        EXPECT_TRUE(controller.cueOverlay().bands().empty());
    }
    EXPECT_EQ(host->settings, users);
}

TEST_F(Launch, ALookACrashLeftBorrowedComesBackAndQuittingGivesTheUsersBack)
{
    Config config = layOut({{"Default", {"a.txt"}}, {"Night", {}}});
    config.workspaces[1].preferredAppearance = AppearanceMode::dark;
    save(config);
    session.dark = true;
    session.users = false; // a process before this one turned the session dark, then crashed
    {
        AppController controller(environment());
        controller.applicationDidFinishLaunching();
        EXPECT_FALSE(session.dark); // Default follows the system: the user's own mode
        controller.performSwitch("Night", true);
        EXPECT_TRUE(session.dark);
    }
    EXPECT_FALSE(session.dark); // quitting gives it back

    // Started again on the dark desktop: the user's mode comes back, then the desktop's.
    config = load();
    ASSERT_EQ(config.activeWorkspace, "Night");
    session.dark = true;
    session.users = false;
    session.changes.clear();
    {
        AppController controller(environment());
        controller.applicationDidFinishLaunching();
        EXPECT_TRUE(session.dark);
        EXPECT_EQ(session.changes, (std::vector<bool>{false, true}));
    }
    EXPECT_FALSE(session.dark);
}
