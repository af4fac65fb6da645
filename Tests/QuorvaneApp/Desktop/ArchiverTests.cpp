#include "Desktop/Archiver.h"
#include "Fakes/FakeFileOperations.h"
#include "FileStateStore.h"
#include "IoError.h"
#include "LogCapture.h"
#include "NoReplaceMove.h"
#include "Paths.h"
#include "Shared/Log.h"
#include "StoreError.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using quorvane::test::FakeFileOperations;
using quorvane::test::LogCapture;
using quorvane::test::readFile;
using quorvane::test::ScopedTimeZone;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

// The file store, with saves that can be made to fail.
class FlakyStore : public StateStore {
public:
    explicit FlakyStore(FileStateStore &inner)
        : m_inner(inner)
    {
    }
    bool failSaves = false;

    Config loadConfig() override { return m_inner.loadConfig(); }
    void saveConfig(const Config &config) override
    {
        if (failSaves)
            throw IoError(ENOSPC, QStringLiteral("cannot write config.json"));
        m_inner.saveConfig(config);
    }
    std::optional<Journal> loadJournal() override { return m_inner.loadJournal(); }
    void saveJournal(const std::optional<Journal> &journal) override { m_inner.saveJournal(journal); }

private:
    FileStateStore &m_inner;
};

Date utc(int year, int month, int day, int hour = 12)
{
    return fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, 0), Qt::UTC));
}

Workspace temporary(const QString &name)
{
    Workspace w = Workspace::make(name);
    w.type = WorkspaceType::temporary;
    return w;
}

Workspace permanent(const QString &name)
{
    return Workspace::make(name);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

class ArchiverTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileStateStore fileStore{paths.config(), paths.journal()};
    FlakyStore store{fileStore};
    Date now = utc(2026, 1, 5);
    Archiver archiver{store, paths, [this] { return now; }};

    void SetUp() override { QDir().mkpath(paths.store()); }

    // A document with "Home" active, then the given desktops.
    void save(std::vector<Workspace> workspaces, const std::function<void(Config &)> &edit = {})
    {
        Config config = Config::defaultDocument();
        config.activeWorkspace = QStringLiteral("Home");
        config.workspaces.push_back(permanent(QStringLiteral("Home")));
        for (Workspace &w : workspaces)
            config.workspaces.push_back(std::move(w));
        if (edit)
            edit(config);
        fileStore.saveConfig(config);
    }
    Config load() { return fileStore.loadConfig(); }
    Workspace record(const QString &name)
    {
        const Config config = load();
        const Workspace *w = config.workspace(name);
        return w ? *w : Workspace();
    }
    QString desk(const QString &name) const { return paths.workspaces() + '/' + name; }
    QString archived(const QString &folder) const { return paths.defaultArchiveRoot() + '/' + folder; }

    // The text of the ArchiveError the call throws; empty when it throws none.
    static QString archiveErrorOf(const std::function<void()> &call)
    {
        try {
            call();
        } catch (const ArchiveError &error) {
            EXPECT_EQ(QString::fromUtf8(error.what()), error.description());
            return error.description();
        }
        return QString();
    }
};

// --- archive ---------------------------------------------------------------------------------

TEST_F(ArchiverTest, ArchiveMovesTheFolderIntoADatedUniqueFolderAndMarksTheDesktop)
{
    Workspace n = temporary("N");
    n.hotkey = HotKeySpec{18, HotKeySpec::command};
    save({n});
    writeFile(desk("N") + "/a.png", "a");
    writeFile(desk("N") + "/.hidden", "h");

    archiver.archive("N");
    const QString first = archived("N-2026-01-05");
    EXPECT_FALSE(fileops::exists(desk("N")));
    EXPECT_EQ(entries(first), (QStringList{".hidden", "a.png"}));
    Workspace w = record("N");
    EXPECT_EQ(w.state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(w.archivedAt, now);
    EXPECT_EQ(w.archiveLocation, first);
    EXPECT_FALSE(w.hotkey.has_value());
    // A cleanup task for the start of the next day.
    ASSERT_EQ(load().cleanupTasks.size(), 1u);
    EXPECT_EQ(load().cleanupTasks[0].members, QStringList{"N"});
    EXPECT_EQ(load().cleanupTasks[0].date, utc(2026, 1, 6, 0));

    // Restored, its folder is back in the desktops folder; archived again the same day while
    // something else holds that name, it takes the next free one. One task still.
    archiver.restore("N");
    EXPECT_EQ(entries(desk("N")), (QStringList{".hidden", "a.png"}));
    writeFile(first + "/someone else's", "x");
    archiver.archive("N");
    EXPECT_EQ(record("N").archiveLocation, first + "-2");
    EXPECT_EQ(entries(first + "-2"), (QStringList{".hidden", "a.png"}));
    EXPECT_EQ(load().cleanupTasks.size(), 1u);
    archiver.restore("N");
    QDir().mkpath(first + "-2");
    archiver.archive("N");
    EXPECT_EQ(record("N").archiveLocation, first + "-3");
}

TEST_F(ArchiverTest, ArchiveNamesTheFolderAfterTheLocalDate)
{
    ScopedTimeZone zone("America/New_York");
    now = utc(2026, 1, 5, 3); // the evening of 4 January in New York
    save({temporary("N")});
    archiver.archive("N");
    EXPECT_EQ(record("N").archiveLocation, archived("N-2026-01-04"));
    // The task is due at local midnight starting 5 January.
    EXPECT_EQ(load().cleanupTasks.at(0).date, fromDateTime(QDateTime(QDate(2026, 1, 5), QTime(0, 0), Qt::LocalTime)));
}

TEST_F(ArchiverTest, ArchivingADesktopWithoutFolderCreatesAnEmptyOne)
{
    Workspace n = temporary("N");
    n.createsCleanupTask = false;
    save({n});
    archiver.archive("N");
    EXPECT_TRUE(QFileInfo(archived("N-2026-01-05")).isDir());
    EXPECT_TRUE(entries(archived("N-2026-01-05")).isEmpty());
    EXPECT_EQ(record("N").state, WorkspaceState::archivedUnsorted);
    EXPECT_TRUE(load().cleanupTasks.empty());
}

TEST_F(ArchiverTest, ArchiveUsesTheArchiveRootSettingAndCreatesIt)
{
    const QString root = home.filePath("Elsewhere/Old desktops");
    save({temporary("N")}, [&](Config &c) { c.settings.archiveRoot = root; });
    writeFile(desk("N") + "/a.png", "a");
    archiver.archive("N");
    EXPECT_EQ(readFile(root + "/N-2026-01-05/a.png"), "a");
    EXPECT_FALSE(fileops::exists(paths.defaultArchiveRoot()));
}

TEST_F(ArchiverTest, ARelativeOrEmptyArchiveRootIsTheDefaultRoot)
{
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    for (const QString &root : {QStringLiteral("old desktops"), QStringLiteral("")}) {
        SCOPED_TRACE(root.toStdString());
        save({temporary("N")}, [&](Config &c) { c.settings.archiveRoot = root; });
        writeFile(desk("N") + "/a.png", "a");
        archiver.archive("N");
        EXPECT_EQ(readFile(archived("N-2026-01-05") + "/a.png"), "a");
        EXPECT_FALSE(fileops::exists(home.path() + "/old desktops"));
        QDir(paths.defaultArchiveRoot()).removeRecursively();
    }
    QDir::setCurrent(working);
}

TEST_F(ArchiverTest, AHandEditedRootTheSettingsWouldRefuseIsTheDefaultRoot)
{
    // Inside the Desktop or a desktop's folder, a switch would carry the archives along.
    for (const QString &root : {paths.desktop() + "/Archives", desk("Home") + "/old", paths.workspaces()}) {
        SCOPED_TRACE(root.toStdString());
        save({temporary("N")}, [&](Config &c) { c.settings.archiveRoot = root; });
        writeFile(desk("N") + "/a.png", "a");
        archiver.archive("N");
        EXPECT_EQ(readFile(archived("N-2026-01-05") + "/a.png"), "a");
        EXPECT_FALSE(fileops::exists(root + "/N-2026-01-05"));
        QDir(paths.defaultArchiveRoot()).removeRecursively();
    }
}

TEST_F(ArchiverTest, ADrainThroughAFolderLeadingHomeMovesNothing)
{
    save({temporary("N"), permanent("P")});
    writeFile(home.path() + "/Books/book", "book");
    writeFile(desk("P") + "/N/old", "old");
    ASSERT_EQ(::symlink(QFile::encodeName(home.path()).constData(), QFile::encodeName(desk("N")).constData()), 0);
    EXPECT_FALSE(archiveErrorOf([&] { archiver.drain("N", "P"); }).isEmpty());
    EXPECT_EQ(readFile(home.path() + "/Books/book"), "book");
    EXPECT_EQ(entries(desk("P") + "/N"), QStringList{"old"});
    EXPECT_TRUE(load().hasWorkspace("N"));
}

TEST_F(ArchiverTest, RefusedArchivesTouchNothing)
{
    Workspace archivedPermanent = permanent("P");
    archivedPermanent.state = WorkspaceState::archivedSorted;
    Workspace sorted = temporary("S");
    sorted.state = WorkspaceState::archivedSorted;
    save({archivedPermanent, sorted, temporary("Cur")}, [](Config &c) { c.activeWorkspace = "Cur"; });
    const Config before = load();

    const struct {
        const char *name;
        QString text;
    } cases[] = {
        // Permanent and archived: the type is checked first.
        {"P", "Only temporary desktops can be archived. Set “P” to Temporary first."},
        {"S", "“S” is already archived."},
        {"Cur", "“Cur” is the active desktop. Switch to another first, then archive it."},
    };
    for (const auto &c : cases) {
        writeFile(desk(c.name) + "/item", "x");
        EXPECT_EQ(archiveErrorOf([&] { archiver.archive(c.name); }), c.text) << c.name;
        EXPECT_EQ(readFile(desk(c.name) + "/item"), "x");
    }
    EXPECT_FALSE(fileops::exists(paths.defaultArchiveRoot()));
    EXPECT_EQ(load(), before);

    // A name that no desktop has is no error and no change.
    archiver.archive("Nobody");
    EXPECT_EQ(load(), before);
}

TEST_F(ArchiverTest, ArchiveFileSystemFailuresCarryTheirMessages)
{
    // The archive root cannot be created: a file stands in its place.
    save({temporary("N")});
    writeFile(paths.defaultArchiveRoot(), "not a folder");
    EXPECT_EQ(archiveErrorOf([&] { archiver.archive("N"); }),
              "Couldn't create the archive folder: " + fileops::errorText(ENOTDIR));
    EXPECT_EQ(record("N").state, WorkspaceState::active);

    // A desktop name that cannot be a folder name never reaches the file system.
    QFile::remove(paths.defaultArchiveRoot());
    save({temporary("..")});
    EXPECT_EQ(archiveErrorOf([&] { archiver.archive(".."); }), "Couldn't move the folder: “..” can't be used as a folder name.");
    EXPECT_FALSE(fileops::exists(paths.defaultArchiveRoot()));
}

TEST_F(ArchiverTest, AnArchiveRootOnAnotherVolumeIsRefusedAfterItIsCreated)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/quorvane-archive-XXXXXX"));
    QDir().mkpath(paths.workspaces());
    struct stat a {};
    struct stat b {};
    if (!other.isValid() || ::stat(QFile::encodeName(paths.workspaces()).constData(), &a) != 0
        || ::stat(QFile::encodeName(other.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system";
    const QString root = other.path() + "/Archive";
    save({temporary("N")}, [&](Config &c) { c.settings.archiveRoot = root; });
    writeFile(desk("N") + "/a.png", "a");
    EXPECT_EQ(archiveErrorOf([&] { archiver.archive("N"); }),
              "The archive folder is on a different disk. Choose one on the same disk as your workspaces (Settings ▸ Experimental).");
    EXPECT_TRUE(QFileInfo(root).isDir());
    EXPECT_TRUE(entries(root).isEmpty());
    EXPECT_EQ(readFile(desk("N") + "/a.png"), "a");
    EXPECT_EQ(record("N").state, WorkspaceState::active);
}

// --- the screenshots desktop -----------------------------------------------------------------

TEST_F(ArchiverTest, ArchivingTheScreenshotsDesktopHandsScreenshotsToAFreshDesktop)
{
    Workspace taken = permanent("N.archived");
    save({permanent("A"), permanent(Config::blankWorkspaceName), temporary("N"), taken, permanent("B")}, [](Config &c) {
        c.settings.filterScreenshots = true;
        c.settings.screenshotsWorkspace = "N";
        c.settings.customFilters.push_back(CustomFilter{QUuid::createUuid(), true, "invoice", "N"});
    });
    writeFile(desk("N") + "/Screenshot 1.png", "s");

    archiver.archive("N");
    const Config config = load();
    QStringList order;
    for (const Workspace &w : config.workspaces)
        order.append(w.name);
    EXPECT_EQ(order, (QStringList{"Home", "A", "N.archived 1", "N.archived", "B", "N", Config::blankWorkspaceName}));
    const Workspace *old = config.workspace("N.archived 1");
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(old->archiveLocation, archived("N-2026-01-05"));
    EXPECT_EQ(readFile(archived("N-2026-01-05") + "/Screenshot 1.png"), "s");

    const Workspace *fresh = config.workspace("N");
    ASSERT_NE(fresh, nullptr);
    Workspace expected = Workspace::make("N");
    expected.createdAt = now;
    EXPECT_EQ(*fresh, expected);
    EXPECT_TRUE(QFileInfo(desk("N")).isDir());
    EXPECT_TRUE(entries(desk("N")).isEmpty());
    EXPECT_EQ(config.settings.screenshotsWorkspace, "N");
    EXPECT_EQ(config.settings.customFilters.at(0).collection, "N.archived 1");
    ASSERT_EQ(config.cleanupTasks.size(), 1u);
    EXPECT_EQ(config.cleanupTasks[0].members, QStringList{"N.archived 1"});
}

TEST_F(ArchiverTest, ArchivingTheScreenshotsDesktopWithFilteringOffClearsTheSetting)
{
    save({temporary("N")}, [](Config &c) {
        c.settings.filterScreenshots = false;
        c.settings.screenshotsWorkspace = "N";
    });
    archiver.archive("N");
    const Config config = load();
    EXPECT_FALSE(config.settings.screenshotsWorkspace.has_value());
    EXPECT_EQ(config.workspaces.size(), 2u);
    EXPECT_EQ(config.workspace("N")->state, WorkspaceState::archivedUnsorted);
    EXPECT_FALSE(fileops::exists(desk("N")));
}

// --- drain -----------------------------------------------------------------------------------

TEST_F(ArchiverTest, DrainMovesTheWholeFolderAndDeletesTheDesktop)
{
    Workspace routed = temporary("Other");
    routed.drainTarget = "N";
    routed.timerDrains = true;
    save({temporary("N"), permanent("P"), routed}, [](Config &c) {
        c.cleanupTasks.push_back(CleanupTask{QUuid::createUuid(), {"N", "Other"}, 5});
    });
    writeFile(desk("N") + "/a.png", "a");
    writeFile(desk("N") + "/.hidden", "h");

    archiver.drain("N", "P");
    EXPECT_FALSE(fileops::exists(desk("N")));
    EXPECT_EQ(entries(desk("P") + "/N"), (QStringList{".hidden", "a.png"}));
    const Config config = load();
    EXPECT_FALSE(config.hasWorkspace("N"));
    EXPECT_FALSE(config.workspace("Other")->drainTarget.has_value());
    EXPECT_FALSE(config.workspace("Other")->timerDrains);
    ASSERT_EQ(config.cleanupTasks.size(), 1u);
    EXPECT_EQ(config.cleanupTasks[0].members, QStringList{"Other"});
}

TEST_F(ArchiverTest, DrainMergesIntoAnEarlierDrainWithUniqueNamesAndKeepsHiddenEntries)
{
    save({temporary("N"), permanent("P")});
    writeFile(desk("P") + "/N/a.png", "old a");
    writeFile(desk("P") + "/N/notes", "old notes");
    writeFile(desk("P") + "/N/.config", "old config");
    writeFile(desk("P") + "/N/a 2.png", "old a 2");
    writeFile(desk("N") + "/a.png", "new a");
    writeFile(desk("N") + "/notes", "new notes");
    writeFile(desk("N") + "/b.png", "b");
    writeFile(desk("N") + "/.config", "new config");
    writeFile(desk("N") + "/.DS_Store", "layout");

    archiver.drain("N", "P");
    const QString d = desk("P") + "/N";
    EXPECT_FALSE(fileops::exists(desk("N")));
    EXPECT_EQ(entries(d), (QStringList{".DS_Store", ".config", ".config 2", "a 2.png", "a 3.png", "a.png", "b.png", "notes", "notes 2"}));
    EXPECT_EQ(readFile(d + "/.DS_Store"), "layout");
    EXPECT_EQ(readFile(d + "/a 3.png"), "new a");
    EXPECT_EQ(readFile(d + "/notes 2"), "new notes");
    EXPECT_EQ(readFile(d + "/.config 2"), "new config");
    EXPECT_EQ(readFile(d + "/a.png"), "old a");
    EXPECT_FALSE(load().hasWorkspace("N"));
}

TEST_F(ArchiverTest, DrainOfAFolderWithADiskMountedOnItMovesItsItemsAndLeavesTheMountPoint)
{
    save({temporary("N"), permanent("P")});
    writeFile(desk("N") + "/a.png", "a");
    writeFile(desk("N") + "/inner/b.txt", "b");
    // "N" is a disk of its own: it can be neither renamed nor removed.
    FakeFileOperations files(paths.copyRecords());
    files.volume = [&](const QString &path) -> std::optional<std::optional<std::uint64_t>> {
        if (path == desk("N"))
            return std::optional<std::uint64_t>(7);
        return std::nullopt;
    };
    bool full = true; // the first try finds the disk full at "inner"
    files.failure = [&](const QString &step, const QString &path) {
        if (full && step == "moveItem" && path == desk("N") + "/inner")
            return ENOSPC;
        return path == desk("N") && (step == "moveItem" || step == "remove") ? EBUSY : 0;
    };
    Archiver mounted{store, paths, [this] { return now; }, &files};
    EXPECT_EQ(archiveErrorOf([&] { mounted.drain("N", "P"); }),
              "Couldn't pour “N” into “P”: there isn’t enough space for “inner” (" + fileops::errorText(ENOSPC) + ")");
    full = false;
    mounted.drain("N", "P");
    EXPECT_EQ(readFile(desk("P") + "/N/a.png"), "a");
    EXPECT_EQ(readFile(desk("P") + "/N/inner/b.txt"), "b");
    EXPECT_EQ(entries(desk("N")), QStringList());
    EXPECT_FALSE(load().hasWorkspace("N"));
}

TEST_F(ArchiverTest, DrainGoesBesideAFileOrLinkBearingTheDesktopsName)
{
    const struct {
        const char *what;
        std::function<void(const QString &)> make;
    } cases[] = {
        {"file", [](const QString &path) { writeFile(path, "not a folder"); }},
        {"dangling link", [](const QString &path) { ASSERT_EQ(::symlink("nowhere", QFile::encodeName(path).constData()), 0); }},
        {"link to a folder", [](const QString &path) {
             QDir().mkpath(path + ".real");
             ASSERT_EQ(::symlink("N.real", QFile::encodeName(path).constData()), 0);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(desk("P")).removeRecursively();
        save({temporary("N"), permanent("P")});
        writeFile(desk("N") + "/a.png", "a");
        writeFile(desk("N") + "/.hidden", "h");
        QDir().mkpath(desk("P"));
        c.make(desk("P") + "/N");

        archiver.drain("N", "P");
        EXPECT_FALSE(fileops::exists(desk("N")));
        EXPECT_EQ(entries(desk("P") + "/N 2"), (QStringList{".hidden", "a.png"}));
        EXPECT_EQ(readFile(desk("P") + "/N 2/a.png"), "a");
        EXPECT_FALSE(load().hasWorkspace("N"));
        EXPECT_FALSE(fileops::exists(desk("P") + "/N.real/a.png"));
    }
}

TEST_F(ArchiverTest, RefusedDrainsTouchNothing)
{
    Workspace archivedTarget = permanent("Gone");
    archivedTarget.state = WorkspaceState::archivedUnsorted;
    Workspace archivedTemp = temporary("Old");
    archivedTemp.state = WorkspaceState::archivedSorted;
    save({temporary("N"), temporary("T2"), archivedTarget, archivedTemp, permanent("Perm"), temporary("Cur")},
         [](Config &c) { c.activeWorkspace = "Cur"; });
    writeFile(desk("N") + "/a.png", "a");
    const Config before = load();

    const struct {
        const char *name;
        const char *target;
        QString text;
    } cases[] = {
        {"Perm", "N", "Only temporary desktops can be archived. Set “Perm” to Temporary first."},
        {"Old", "Perm", "“Old” is already archived."},
        {"Cur", "Perm", "“Cur” is the active desktop. Switch to another first, then archive it."},
        {"N", "N", "A desktop can't move into itself."},
        {"N", "Missing", "“Missing” no longer exists, so there's nowhere to move into."},
        {"N", "T2", "A scratch desktop can only move into a live permanent desktop. “T2” isn't one."},
        {"N", "Gone", "A scratch desktop can only move into a live permanent desktop. “Gone” isn't one."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(archiveErrorOf([&] { archiver.drain(c.name, c.target); }), c.text) << c.name << " into " << c.target;
        if (QByteArray(c.target) != "N") {
            EXPECT_FALSE(fileops::exists(desk(c.target))) << c.target;
        }
    }
    EXPECT_EQ(readFile(desk("N") + "/a.png"), "a");
    EXPECT_EQ(load(), before);
    archiver.drain("Nobody", "Perm");
    EXPECT_FALSE(fileops::exists(desk("Perm")));
}

TEST_F(ArchiverTest, DrainWithoutASourceFolderStillDeletesTheDesktop)
{
    save({temporary("N"), permanent("P")});
    archiver.drain("N", "P");
    EXPECT_TRUE(QFileInfo(desk("P")).isDir());
    EXPECT_FALSE(fileops::exists(desk("P") + "/N"));
    EXPECT_FALSE(load().hasWorkspace("N"));
}

TEST_F(ArchiverTest, ADrainThatCannotReachTheTargetChangesNothing)
{
    save({temporary("N"), permanent("P")});
    writeFile(desk("N") + "/a.png", "a");
    writeFile(desk("P"), "a file where the folder belongs");
    EXPECT_EQ(archiveErrorOf([&] { archiver.drain("N", "P"); }), "Couldn't pour “N” into “P”: " + fileops::errorText(ENOTDIR));
    EXPECT_EQ(readFile(desk("N") + "/a.png"), "a");
    EXPECT_TRUE(load().hasWorkspace("N"));
}

// --- restore ---------------------------------------------------------------------------------

TEST_F(ArchiverTest, RestoreBringsTheFolderBackFromEitherArchivedState)
{
    for (const WorkspaceState state : {WorkspaceState::archivedUnsorted, WorkspaceState::archivedSorted}) {
        Workspace n = temporary("N");
        n.state = state;
        n.archivedAt = 10;
        n.archiveLocation = archived("N-2026-01-01");
        save({n});
        writeFile(archived("N-2026-01-01") + "/a.png", "a");

        archiver.restore("N");
        EXPECT_EQ(readFile(desk("N") + "/a.png"), "a");
        EXPECT_FALSE(fileops::exists(archived("N-2026-01-01")));
        const Workspace w = record("N");
        EXPECT_EQ(w.state, WorkspaceState::active);
        EXPECT_FALSE(w.archivedAt.has_value());
        EXPECT_FALSE(w.archiveLocation.has_value());
        EXPECT_EQ(w.lastActiveAt, now);
        QDir(desk("N")).removeRecursively();
    }
}

TEST_F(ArchiverTest, RestoringAVanishedArchiveRecreatesAnEmptyFolder)
{
    Workspace n = temporary("N");
    n.state = WorkspaceState::archivedUnsorted;
    n.archiveLocation = archived("N-2026-01-01");
    save({n});
    archiver.restore("N");
    EXPECT_TRUE(QFileInfo(desk("N")).isDir());
    EXPECT_EQ(record("N").state, WorkspaceState::active);

    // An active desktop and an unknown name are left alone.
    archiver.restore("N");
    archiver.restore("Nobody");
    EXPECT_EQ(record("N").state, WorkspaceState::active);
}

TEST_F(ArchiverTest, RestoreIsBlockedByAFolderOfTheSameName)
{
    Workspace n = temporary("N");
    n.state = WorkspaceState::archivedUnsorted;
    n.archiveLocation = archived("N-2026-01-01");
    save({n});
    writeFile(archived("N-2026-01-01") + "/a.png", "archived");
    writeFile(desk("N") + "/a.png", "in the way");
    const Config before = load();

    EXPECT_EQ(archiveErrorOf([&] { archiver.restore("N"); }),
              "A folder named “N” already exists in the workspace store — move it aside first.");
    EXPECT_EQ(readFile(archived("N-2026-01-01") + "/a.png"), "archived");
    EXPECT_EQ(readFile(desk("N") + "/a.png"), "in the way");
    EXPECT_EQ(load(), before);

    // An empty folder cannot be recreated where a file stands.
    QDir(archived("N-2026-01-01")).removeRecursively();
    QDir(desk("N")).removeRecursively();
    writeFile(desk("N"), "file");
    EXPECT_EQ(archiveErrorOf([&] { archiver.restore("N"); }), "Couldn't recreate the folder: " + fileops::errorText(ENOTDIR));
}

// --- mended faults ---------------------------------------------------------------------------

TEST_F(ArchiverTest, RestoreMovesOnlyAFolderTheArchiverMade)
{
    writeFile(paths.desktop() + "/d", "d");
    writeFile(desk("Home") + "/h", "h");
    writeFile(home.path() + "/Documents/doc", "doc");
    // A hand-edited document may name any folder as the archive.
    for (const QString &location : {paths.desktop(), desk("Home"), home.path() + "/Documents", paths.store()}) {
        SCOPED_TRACE(location.toStdString());
        Workspace n = temporary("N");
        n.state = WorkspaceState::archivedUnsorted;
        n.archiveLocation = location;
        save({n});
        EXPECT_EQ(archiveErrorOf([&] { archiver.restore("N"); }),
                  "Couldn't move the folder back: “" + location + "” isn't a folder of the archive, so it stays where it is.");
        EXPECT_FALSE(fileops::exists(desk("N")));
        EXPECT_EQ(record("N").state, WorkspaceState::archivedUnsorted);
    }
    EXPECT_EQ(readFile(paths.desktop() + "/d"), "d");
    EXPECT_EQ(readFile(desk("Home") + "/h"), "h");
    EXPECT_EQ(readFile(home.path() + "/Documents/doc"), "doc");
}

TEST_F(ArchiverTest, ADocumentOfANewerFormatMovesNothing)
{
    Workspace archivedOne = temporary("A");
    archivedOne.state = WorkspaceState::archivedUnsorted;
    archivedOne.archiveLocation = archived("A-2026-01-01");
    Config config = Config::defaultDocument();
    config.activeWorkspace = "Home";
    config.workspaces = {permanent("Home"), temporary("N"), permanent("P"), archivedOne};
    QJsonObject json = config.toJson();
    json.insert("schemaVersion", 2);
    writeFile(paths.config(), QJsonDocument(json).toJson());
    writeFile(desk("N") + "/a.png", "a");
    writeFile(archived("A-2026-01-01") + "/b.png", "b");
    const QByteArray document = readFile(paths.config());

    EXPECT_THROW(archiver.archive("N"), StoreError);
    EXPECT_THROW(archiver.drain("N", "P"), StoreError);
    EXPECT_THROW(archiver.restore("A"), StoreError);
    EXPECT_EQ(readFile(desk("N") + "/a.png"), "a");
    EXPECT_EQ(entries(paths.defaultArchiveRoot()), QStringList{"A-2026-01-01"});
    EXPECT_FALSE(fileops::exists(desk("P")));
    EXPECT_FALSE(fileops::exists(desk("A")));
    EXPECT_EQ(readFile(paths.config()), document);
}

TEST_F(ArchiverTest, AnArchiveWhoseDocumentCannotBeSavedPutsTheFolderBack)
{
    save({temporary("N"), temporary("Empty")});
    writeFile(desk("N") + "/a.png", "a");
    store.failSaves = true;

    for (const char *name : {"N", "Empty"}) {
        try {
            archiver.archive(name);
            ADD_FAILURE() << "archive succeeded";
        } catch (const IoError &error) {
            EXPECT_EQ(error.code().value(), ENOSPC);
        }
    }
    EXPECT_EQ(readFile(desk("N") + "/a.png"), "a");
    EXPECT_FALSE(fileops::exists(desk("Empty")));
    EXPECT_TRUE(entries(paths.defaultArchiveRoot()).isEmpty());

    // Once saving works again the archive goes through under the first name.
    store.failSaves = false;
    archiver.archive("N");
    EXPECT_EQ(record("N").archiveLocation, archived("N-2026-01-05"));
}

TEST_F(ArchiverTest, DrainAndRestoreHealOnRetryAfterAFailedSave)
{
    Workspace a = temporary("A");
    a.state = WorkspaceState::archivedUnsorted;
    a.archiveLocation = archived("A-2026-01-01");
    save({temporary("N"), permanent("P"), a});
    writeFile(desk("N") + "/n.png", "n");
    writeFile(archived("A-2026-01-01") + "/a.png", "a");

    store.failSaves = true;
    EXPECT_THROW(archiver.drain("N", "P"), IoError);
    EXPECT_THROW(archiver.restore("A"), IoError);
    store.failSaves = false;
    archiver.drain("N", "P");
    archiver.restore("A");
    EXPECT_EQ(readFile(desk("P") + "/N/n.png"), "n");
    EXPECT_EQ(readFile(desk("A") + "/a.png"), "a");
    EXPECT_FALSE(load().hasWorkspace("N"));
    EXPECT_EQ(record("A").state, WorkspaceState::active);
}

TEST_F(ArchiverTest, FoldersThatMerelyBearTheNameOfACopyInProgressSurviveSettlingDrainAndRestore)
{
    // The user's own folders in the desktops folder, the archive root, a desktop's folder and
    // the folder of the desktop being drained, one read-only inside.
    save({temporary("N"), permanent("P"), temporary("Old")}, [&](Config &c) {
        c.updateWorkspace("Old", [&](Workspace &w) {
            w.state = WorkspaceState::archivedUnsorted;
            w.archiveLocation = archived("Old-2026-01-01");
        });
    });
    writeFile(archived("Old-2026-01-01") + "/o.txt", "o");
    const QStringList mine{desk(".quorvane-copy-stray/notes.txt"), archived(".quorvane-copy-photos/a.jpg"),
                           desk("P/.quorvane-copy-mine/b.txt"), desk("N/.quorvane-copy-thesis/chapters/one.txt")};
    for (const QString &file : mine)
        writeFile(file, file.toUtf8());
    ASSERT_EQ(::chmod(QFile::encodeName(desk("N/.quorvane-copy-thesis/chapters")).constData(), 0555), 0);

    archiver.finishInterrupted();
    archiver.drain("N", "P");
    archiver.restore("Old");
    archiver.finishInterrupted();
    EXPECT_EQ(readFile(mine[0]), mine[0].toUtf8());
    EXPECT_EQ(readFile(mine[1]), mine[1].toUtf8());
    EXPECT_EQ(readFile(mine[2]), mine[2].toUtf8());
    // Drained along with the rest of N, like any hidden entry.
    EXPECT_EQ(readFile(desk("P/N/.quorvane-copy-thesis/chapters/one.txt")), mine[3].toUtf8());
    EXPECT_EQ(readFile(desk("Old/o.txt")), "o");
    ::chmod(QFile::encodeName(desk("P/N/.quorvane-copy-thesis/chapters")).constData(), 0755);
}

// --- timers ----------------------------------------------------------------------------------

TEST_F(ArchiverTest, DueTimersArchiveOrDrainLiveTemporaryDesktops)
{
    const Date created = now - 3 * 86400;
    auto due = [&](const QString &name, std::optional<QString> drainInto = std::nullopt) {
        Workspace w = temporary(name);
        w.timer = ArchiveTimer{ArchiveTimerMode::fixed, 2};
        w.createdAt = created;
        if (drainInto) {
            w.drainTarget = drainInto;
            w.timerDrains = true;
        }
        return w;
    };
    Workspace notDue = due("NotDue");
    notDue.timer->days = 5;
    Workspace permanentDue = due("PermanentDue");
    permanentDue.type = WorkspaceType::permanent;
    Workspace archivedTarget = permanent("ArchivedTarget");
    archivedTarget.state = WorkspaceState::archivedUnsorted;
    Workspace routeOff = due("RouteOff", QStringLiteral("P"));
    routeOff.timerDrains = false;
    save({due("Plain"), due("Drains", QStringLiteral("P")), due("TargetArchived", QStringLiteral("ArchivedTarget")), routeOff,
          notDue, permanentDue, due("Current"), permanent("P"), archivedTarget},
         [](Config &c) { c.activeWorkspace = "Current"; });
    for (const char *name : {"Plain", "Drains", "TargetArchived", "RouteOff", "NotDue", "Current"})
        writeFile(desk(name) + "/item", name);

    EXPECT_EQ(archiver.fireDueTimers(now), (QStringList{"Plain", "Drains", "TargetArchived", "RouteOff"}));
    const Config config = load();
    EXPECT_EQ(config.workspace("Plain")->state, WorkspaceState::archivedUnsorted);
    EXPECT_FALSE(config.hasWorkspace("Drains"));
    EXPECT_EQ(readFile(desk("P") + "/Drains/item"), "Drains");
    EXPECT_EQ(config.workspace("TargetArchived")->state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(config.workspace("RouteOff")->state, WorkspaceState::archivedUnsorted);
    for (const char *name : {"NotDue", "PermanentDue", "Current"})
        EXPECT_EQ(config.workspace(name)->state, WorkspaceState::active) << name;
    EXPECT_EQ(readFile(desk("Current") + "/item"), "Current");
}

TEST_F(ArchiverTest, AFailedAutoCompletionIsLoggedAndTheOthersGoOn)
{
    auto due = [&](const QString &name, std::optional<QString> drainInto = std::nullopt) {
        Workspace w = temporary(name);
        w.timer = ArchiveTimer{ArchiveTimerMode::idle, 1};
        w.lastActiveAt = now - 2 * 86400;
        w.drainTarget = drainInto;
        w.timerDrains = drainInto.has_value();
        return w;
    };
    save({due("Archives"), due("Drains", QStringLiteral("P")), permanent("P")});
    writeFile(paths.defaultArchiveRoot(), "a file where the archive root belongs");

    LogCapture errors(Log::error().categoryName());
    EXPECT_EQ(archiver.fireDueTimers(now), QStringList{"Drains"});
    EXPECT_EQ(errors.lines, QStringList{"auto-completion of Archives failed: Couldn't create the archive folder: " + fileops::errorText(ENOTDIR)});
    EXPECT_EQ(record("Archives").state, WorkspaceState::active);

    // An unreadable document fires nothing.
    writeFile(paths.config(), "{ not json");
    EXPECT_TRUE(archiver.fireDueTimers(now).isEmpty());
}

TEST_F(ArchiverTest, CompletedWorkIsLoggedInTheArchiveCategory)
{
    save({temporary("N"), temporary("M"), permanent("P")});
    LogCapture log(Log::archive().categoryName());
    archiver.archive("N");
    archiver.drain("M", "P");
    EXPECT_EQ(log.lines, (QStringList{"archived N → " + archived("N-2026-01-05"), "drained M → " + desk("P") + "/M"}));
}

} // namespace
