#include "SettingsModelHarness.h"

#include "StoreError.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>

using namespace quorvane;
using namespace quorvane::test;

using SettingsModelArchive = SettingsModelHarness;

namespace {

// A local moment of March 2029; New York moves its clocks forward on 11 March that year.
Date march(int day, int hour = 0, int minute = 0)
{
    return fromDateTime(QDateTime(QDate(2029, 3, day), QTime(hour, minute)));
}

Workspace temporary(const QString &name, ArchiveTimerMode mode, int days, Date created)
{
    Workspace w = Workspace::make(name);
    w.type = WorkspaceType::temporary;
    w.timer = ArchiveTimer{mode, days};
    w.createdAt = created;
    return w;
}

} // namespace

TEST_F(SettingsModelArchive, TimersFallOnLocalDaysAcrossTheClockChange)
{
    ScopedTimeZone zone("America/New_York");
    SettingsModel &m = openWith({"Home"}, [](Config &c) {
        Workspace idle = temporary("Idle", ArchiveTimerMode::idle, 3, march(10, 18));
        idle.lastActiveAt = march(12, 9);
        idle.timerDrains = true; // but no target: it does not drain
        Workspace archived = temporary("Archived", ArchiveTimerMode::fixed, 1, march(1));
        archived.state = WorkspaceState::archivedUnsorted;
        Workspace permanent = temporary("Permanent", ArchiveTimerMode::fixed, 1, march(1));
        permanent.type = WorkspaceType::permanent;
        Workspace drains = temporary("Drains", ArchiveTimerMode::fixed, 2, march(10, 23, 30));
        drains.timerDrains = true;
        drains.drainTarget = "Home";
        c.workspaces.insert(c.workspaces.begin() + 1,
                            {temporary("Fixed", ArchiveTimerMode::fixed, 3, march(10, 18)), idle, archived, permanent,
                             temporary("Off", ArchiveTimerMode::none, 3, march(1)), drains});
    });
    const std::vector<TimerOp> ops = m.timerOps();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].workspace, "Fixed");
    EXPECT_EQ(ops[0].date, march(13));
    EXPECT_FALSE(ops[0].idle);
    EXPECT_EQ(ops[1].workspace, "Idle");
    EXPECT_EQ(ops[1].date, march(15));
    EXPECT_TRUE(ops[1].idle);
    EXPECT_FALSE(ops[1].drains);
    EXPECT_EQ(ops[1].drainTarget, std::nullopt);
    EXPECT_EQ(ops[2].date, march(13)); // two days of seconds after 23:30 on the 10th: past midnight
    EXPECT_TRUE(ops[2].drains);
    EXPECT_EQ(ops[2].drainTarget, QString("Home"));
    ASSERT_EQ(m.timerOps(march(15, 22)).size(), 1u);
    EXPECT_EQ(m.timerOps(march(15, 22)).front().workspace, "Idle");

    m.rescheduleTimer("Fixed", march(10, 12));
    EXPECT_EQ(stored().workspace("Fixed")->timer->days, 1);
    m.rescheduleTimer("Fixed", march(2));
    EXPECT_EQ(stored().workspace("Fixed")->timer->days, 1);
    m.rescheduleTimer("Fixed", march(20, 8));
    EXPECT_EQ(stored().workspace("Fixed")->timer->days, 10);
    m.rescheduleTimer("Off", march(20));
    EXPECT_EQ(stored().workspace("Off")->timer->days, 3);

    m.setCleanupDate("Archived", march(18, 15));
    EXPECT_EQ(stored().cleanupTasks.front().date, march(18));
}

TEST_F(SettingsModelArchive, CleanupCandidatesLeaveOutWhatIsDueThatDay)
{
    SettingsModel &m = openWith({"Home", "A", "B", "Sorted"}, [](Config &c) {
        c.workspaces[1].state = WorkspaceState::archivedUnsorted;
        c.workspaces[2].state = WorkspaceState::archivedUnsorted;
        c.workspaces[3].state = WorkspaceState::archivedSorted;
        c.addCleanupTask("A", 800000000.0);
        c.addCleanupTask("B", 800000000.0 + 3 * 86400);
    });
    EXPECT_EQ(m.cleanupCandidates(800000000.0 + 3600), QStringList({"Home", "B"}));
    EXPECT_EQ(m.cleanupCandidates(800000000.0 + 10 * 86400), QStringList({"Home", "A", "B"}));
}

TEST_F(SettingsModelArchive, ClearRulesAndSortedState)
{
    SettingsModel &m = openWith({"Home", "T"}, [](Config &c) {
        c.workspaces[1] = temporary("T", ArchiveTimerMode::idle, 4, 1000);
        c.workspaces[1].drainTarget = "Home";
        c.workspaces[1].timerDrains = true;
    });
    m.setClearDestination("T", ClearMode::archive, QString("Home"));
    Config c = stored();
    EXPECT_EQ(c.workspace("T")->drainTarget, std::nullopt);
    EXPECT_EQ(c.workspace("T")->timer, (ArchiveTimer{ArchiveTimerMode::idle, 4}));
    m.setClearDestination("T", ClearMode::move, QString("Home"));
    EXPECT_TRUE(stored().workspace("T")->timerDrains);
    m.setClearDestination("T", ClearMode::keep, std::nullopt);
    c = stored();
    EXPECT_EQ(c.workspace("T")->timer, std::nullopt);
    EXPECT_FALSE(c.workspace("T")->timerDrains);

    m.setArchivedSorted("T", true);
    EXPECT_EQ(stored().workspace("T")->state, WorkspaceState::active);
}

TEST_F(SettingsModelArchive, ArchivingGoesThroughTheArchiverAndShowsItsText)
{
    SettingsModel &m = openWith({"Home", "Perm", "Temp"}, [](Config &c) { c.workspaces[2].type = WorkspaceType::temporary; });
    test::writeFile(folder("Temp") + "/item", "i");

    m.archive("Perm");
    EXPECT_EQ(errorMessage(), "Only temporary desktops can be archived. Set “Perm” to Temporary first.");
    EXPECT_EQ(changes, 0);

    busy = true;
    m.archive("Temp");
    EXPECT_EQ(errorMessage(), "Quorvane is mid-switch. Try again in a moment.");
    EXPECT_TRUE(QFileInfo::exists(folder("Temp") + "/item"));
    busy = false;

    // A stale published copy stays stale after a failure.
    m.archive("Temp");
    EXPECT_EQ(changes, 1);
    const Workspace *w = m.config().workspace("Temp");
    ASSERT_TRUE(w && w->archiveLocation);
    EXPECT_EQ(w->state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(test::readFile(*w->archiveLocation + "/item"), "i");

    m.restore("Temp");
    EXPECT_EQ(test::readFile(folder("Temp") + "/item"), "i");
    EXPECT_EQ(stored().workspace("Temp")->state, WorkspaceState::active);

    test::writeFile(paths.config(), R"({"schemaVersion":2,"activeWorkspace":"Home"})");
    m.drain("Temp", "Home");
    EXPECT_EQ(errorMessage(), StoreError::configNewerThanApp(2).description());
}

TEST_F(SettingsModelArchive, DeletingAnArchivedDesktopTrashesItsArchive)
{
    const QString archived = paths.defaultArchiveRoot() + "/Gone-2029-03-01";
    SettingsModel &m = openWith({"Home", "Gone"}, [&](Config &c) {
        c.workspaces[1].state = WorkspaceState::archivedSorted;
        c.workspaces[1].archiveLocation = archived;
    });
    test::writeFile(archived + "/kept", "k");

    store.failSaves = true;
    m.deleteArchived("Gone");
    EXPECT_EQ(test::readFile(archived + "/kept"), "k");
    EXPECT_FALSE(QFileInfo::exists(trashInfo() + "/Gone-2029-03-01.trashinfo"));
    store.failSaves = false;

    m.deleteArchived("Home"); // live: not here
    m.deleteArchived("Gone");
    EXPECT_EQ(storedNames(), QStringList({"Home", Config::blankWorkspaceName}));
    EXPECT_EQ(test::readFile(trashFiles() + "/Gone-2029-03-01/kept"), "k");
}

TEST_F(SettingsModelArchive, AnArchiveEntryNamingAFolderOfTheUsersIsNeverTrashed)
{
    const QString other = paths.defaultArchiveRoot() + "/Other-2029-03-01";
    SettingsModel &m = openWith({"Home"}, [&](Config &c) {
        Workspace gone = Workspace::make("Gone");
        gone.state = WorkspaceState::archivedUnsorted;
        c.workspaces.insert(c.workspaces.end() - 1, gone);
        Workspace kept = Workspace::make("Other");
        kept.state = WorkspaceState::archivedSorted;
        kept.archiveLocation = other;
        c.workspaces.insert(c.workspaces.end() - 1, kept);
    });
    test::writeFile(folder("Home") + "/sub/h", "h");
    test::writeFile(folder("Home") + "/sub-2029-03-01/s", "s");
    test::writeFile(other + "/o", "o");
    test::writeFile(paths.desktop() + "/d", "d");
    test::writeFile(home.filePath("Documents/doc"), "doc");
    // A hand-edited document may name any folder as the archive.
    for (const QString &location : {folder("Home"), folder("Home") + "/sub", paths.defaultArchiveRoot(), paths.desktop(),
                                    paths.workspaces(), paths.store(), home.path(), home.filePath("Documents"),
                                    QStringLiteral("Documents"), folder("Home") + "/sub-2029-03-01"}) {
        SCOPED_TRACE(location.toStdString());
        Config edited = stored();
        edited.workspace("Gone")->archiveLocation = location;
        store.saveConfig(edited);
        m.reload();
        m.setDeleteFailure(std::nullopt);
        m.deleteArchived("Gone");
        ASSERT_TRUE(m.deleteFailure());
        EXPECT_EQ(m.deleteFailure()->workspace, "Gone");
        EXPECT_TRUE(stored().workspace("Gone"));
    }
    EXPECT_EQ(test::readFile(folder("Home") + "/sub/h"), "h");
    EXPECT_EQ(test::readFile(folder("Home") + "/sub-2029-03-01/s"), "s");
    EXPECT_EQ(test::readFile(other + "/o"), "o");
    EXPECT_EQ(test::readFile(paths.desktop() + "/d"), "d");
    EXPECT_EQ(test::readFile(home.filePath("Documents/doc")), "doc");
}

TEST_F(SettingsModelArchive, TheArchiveFolderMustBeOnTheSameDiskAndOutsideWhatASwitchMoves)
{
    SettingsModel &m = openWith({"Home", "Work"}, [](Config &c) { c.settings.archiveRoot = "/kept"; });
    const QString outside = home.filePath("Archives");
    QDir().mkpath(outside);
    const QString inside = QStringLiteral("That folder is part of your Desktop or your desktops. Archives must sit "
                                          "outside them — otherwise the next switch would move them.");
    for (const QString &folderInside : {paths.desktop(), paths.workspaces(), folder("Work") + "/sub", paths.store(),
                                        paths.pinnedStash() + "/x", folder(Config::blankWorkspaceName)}) {
        m.setErrorMessage(std::nullopt);
        m.setArchiveRoot(folderInside);
        EXPECT_EQ(errorMessage(), inside) << folderInside.toStdString();
    }
    EXPECT_EQ(stored().settings.archiveRoot, QString("/kept"));

    const QString otherDisk = QStringLiteral("That folder is on a different disk. Archives must sit on the same disk "
                                             "as your workspaces — that's what keeps archiving an instant, safe move.");
    files.volume = [&](const QString &path) -> std::optional<std::optional<std::uint64_t>> {
        if (path == outside)
            return std::optional<std::uint64_t>(std::nullopt);
        return std::nullopt;
    };
    m.setArchiveRoot(outside);
    EXPECT_EQ(errorMessage(), otherDisk);
    files.volume = [&](const QString &path) -> std::optional<std::optional<std::uint64_t>> {
        return path == outside ? std::optional<std::uint64_t>(99) : std::optional<std::uint64_t>(1);
    };
    m.setArchiveRoot(outside);
    EXPECT_EQ(stored().settings.archiveRoot, QString("/kept"));
    files.volume = {};

    m.setArchiveRoot(outside);
    EXPECT_EQ(stored().settings.archiveRoot, outside);
    QDir().mkpath(paths.defaultArchiveRoot());
    m.setArchiveRoot(paths.defaultArchiveRoot()); // inside the desktops folder, yet no desktop's
    EXPECT_EQ(stored().settings.archiveRoot, paths.defaultArchiveRoot());
    m.setArchiveRoot(std::nullopt);
    EXPECT_EQ(stored().settings.archiveRoot, std::nullopt);
}
