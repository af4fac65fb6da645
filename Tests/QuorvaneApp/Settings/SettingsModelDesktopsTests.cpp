#include "SettingsModelHarness.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::test;

using SettingsModelDesktops = SettingsModelHarness;

namespace {

bool create(SettingsModel &m, const QString &name, WorkspaceType type = WorkspaceType::permanent,
            std::optional<ArchiveTimer> timer = {}, std::optional<QString> drain = {})
{
    return m.createWorkspace(name, type, timer, drain, true, std::nullopt, false);
}

const ArchiveTimer threeDays{ArchiveTimerMode::fixed, 3};

} // namespace

TEST_F(SettingsModelDesktops, NamesFollowTheRule)
{
    EXPECT_EQ(SettingsModel::trimmedName(QString::fromUtf8("\u2003 Work\t\u00A0")), "Work");
    EXPECT_EQ(SettingsModel::trimmedName("Work\n"), "Work\n");

    SettingsModel &m = openWith({"Work"});
    const std::pair<const char *, const char *> refused[] = {
        {"ARCHIVE", "“ARCHIVE” is part of the desktops folder itself — pick another name."},
        {"_x", "Names can't start with “_” (reserved)."},
        {".x", "Names can't start with “.” (hidden folders)."},
        {"x/../../Documents", "Names can't contain “/”."},
        {"Work", "“Work” already exists."},
    };
    for (const auto &[name, text] : refused) {
        EXPECT_FALSE(create(m, name)) << name;
        EXPECT_EQ(errorMessage(), QString::fromUtf8(text)) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(home.filePath("Documents")));
    EXPECT_EQ(storedNames(), QStringList({"Work", Config::blankWorkspaceName}));

    m.setErrorMessage(std::nullopt);
    EXPECT_FALSE(create(m, " \t "));
    EXPECT_FALSE(m.errorMessage());
    EXPECT_EQ(changes, 0);
}

TEST_F(SettingsModelDesktops, ANewDesktopLandsBeforeTheBlankOneWithItsFolder)
{
    SettingsModel &m = openWith({"Home", "Old"}, [](Config &c) { c.workspaces[1].state = WorkspaceState::archivedUnsorted; });
    EXPECT_TRUE(m.createWorkspace(" Work ", WorkspaceType::permanent, threeDays, {}, false, HotKeySpec{49, 1u << 18},
                                  true));
    EXPECT_EQ(storedNames(), QStringList({"Home", "Old", "Work", Config::blankWorkspaceName}));
    EXPECT_TRUE(QFileInfo(folder("Work")).isDir());
    const Config doc = stored();
    const Workspace *w = doc.workspace("Work");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->timer, std::nullopt); // a permanent desktop keeps no timer
    EXPECT_EQ(w->clearMode, ClearMode::keep);
    EXPECT_EQ(w->hotkey, (HotKeySpec{49, 1u << 18}));
    EXPECT_FALSE(w->createsCleanupTask);
    EXPECT_EQ(w->createdAt, 800000000.0);
    EXPECT_NE(w->colorHex, stored().workspace("Home")->colorHex);
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"Work"}));
    EXPECT_EQ(m.config(), stored());
    EXPECT_EQ(changes, 1);

    // The same shortcut again names its holder.
    EXPECT_FALSE(m.createWorkspace("Next", WorkspaceType::permanent, {}, {}, true, HotKeySpec{49, 1u << 18}, false));
    EXPECT_EQ(errorMessage(), "Ctrl+Space is already assigned to “Work”.");
}

TEST_F(SettingsModelDesktops, ATemporaryDesktopDrainsOnlyIntoALivePermanentOne)
{
    SettingsModel &m = openWith({"Home", "Scratch", "Gone"}, [](Config &c) {
        c.workspaces[1].type = WorkspaceType::temporary;
        c.workspaces[2].state = WorkspaceState::archivedSorted;
    });
    for (const char *target : {"Scratch", "Gone", "Nowhere"}) {
        const QString name = QStringLiteral("T ") + target;
        ASSERT_TRUE(create(m, name, WorkspaceType::temporary, threeDays, QString(target)));
        const Config doc = stored();
        const Workspace *w = doc.workspace(name);
        EXPECT_EQ(w->clearMode, ClearMode::archive) << target;
        EXPECT_EQ(w->drainTarget, std::nullopt);
        EXPECT_FALSE(w->timerDrains);
        EXPECT_EQ(w->timer, threeDays);
    }
    ASSERT_TRUE(create(m, "T Home", WorkspaceType::temporary, threeDays, QString("Home")));
    const Config doc = stored();
    const Workspace *w = doc.workspace("T Home");
    EXPECT_EQ(w->clearMode, ClearMode::move);
    EXPECT_EQ(w->drainTarget, QString("Home"));
    EXPECT_TRUE(w->timerDrains);
    ASSERT_TRUE(create(m, "T none", WorkspaceType::temporary, {}, QString("Home")));
    EXPECT_EQ(stored().workspace("T none")->clearMode, ClearMode::keep);
}

TEST_F(SettingsModelDesktops, TheCarouselTakesANewDesktopOnlyWhileRoomIsLeft)
{
    SettingsModel &m = openWith({"A"}, [](Config &c) { c.settings.optionClickCarousel = {"A", "B", "C", "D"}; });
    ASSERT_TRUE(m.createWorkspace("E", WorkspaceType::permanent, {}, {}, true, {}, true));
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"A", "B", "C", "D"}));
}

TEST_F(SettingsModelDesktops, CreateChecksTheStoredDocumentAndUndoesItsFolder)
{
    SettingsModel &m = openWith({"Home"});
    // Another part of the application stored "Late" since the model last loaded.
    Config changed = stored();
    changed.workspaces.insert(changed.workspaces.begin(), Workspace::make("Late"));
    store.saveConfig(changed);
    EXPECT_FALSE(create(m, "Late"));
    EXPECT_EQ(errorMessage(), "“Late” already exists.");
    EXPECT_FALSE(QFileInfo::exists(folder("Late")));

    // A failed save leaves no folder behind, nor a record.
    store.failSaves = true;
    EXPECT_FALSE(create(m, "Lost"));
    EXPECT_FALSE(QFileInfo::exists(folder("Lost")));

    // A newer document: nothing is touched at all.
    store.failSaves = false;
    test::writeFile(paths.config(), R"({"schemaVersion":2,"activeWorkspace":"Home"})");
    EXPECT_FALSE(create(m, "Newer"));
    EXPECT_EQ(errorMessage(), "configNewerThanApp");
    EXPECT_FALSE(QFileInfo::exists(folder("Newer")));

    // A folder that cannot be made.
    test::writeFile(paths.config(), R"({"activeWorkspace":"Home","workspaces":[{"name":"Home"}]})");
    files.failure = [](const QString &step, const QString &) { return step == "makeFolders" ? EACCES : 0; };
    EXPECT_FALSE(create(m, "Denied"));
    EXPECT_EQ(errorMessage(), "Couldn't create the workspace folder: Permission denied");
}

TEST_F(SettingsModelDesktops, UnlistedFoldersAreRealFoldersThatCouldBeDesktops)
{
    SettingsModel &m = openWith({"Home"}, [&](Config &c) { c.settings.archiveRoot = paths.workspaces() + "/Kept/../Old"; });
    for (const char *name : {"b", "A10", "a2", "_x", ".hidden", "archive", "Old", "Home"})
        QDir().mkpath(folder(name));
    test::writeFile(folder("file"), "x");
    QFile::link(folder("b"), folder("link"));
    const QByteArray undecodable = QFile::encodeName(paths.workspaces()) + "/bad\xff";
    ::mkdir(undecodable.constData(), 0755);
    EXPECT_EQ(m.unlistedFolders(), QStringList({"a2", "A10", "b"}));
    ::rmdir(undecodable.constData());

    m.adoptFolder("a2");
    const Config doc = stored();
    const Workspace *w = doc.workspace("a2");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->type, WorkspaceType::permanent);
    EXPECT_FALSE(w->createsCleanupTask);
    EXPECT_EQ(storedNames().back(), Config::blankWorkspaceName);

    QDir(folder("b")).removeRecursively();
    m.adoptFolder("b");
    EXPECT_EQ(errorMessage(), "“b” isn't in your desktops folder any more.");
    m.adoptFolder("../Documents");
    EXPECT_EQ(storedNames(), QStringList({"Home", "a2", Config::blankWorkspaceName}));
}

TEST_F(SettingsModelDesktops, RenameMovesTheFolderAndFollowsTheReferences)
{
    SettingsModel &m = openWith({"Home", "Work", "Temp"}, [](Config &c) {
        c.lastExpandedWorkspace = "Work";
        c.workspaces[2].type = WorkspaceType::temporary;
        c.workspaces[2].drainTarget = "Work";
        c.settings.optionClickCarousel = {"Work"};
        c.settings.screenshotsWorkspace = "Work";
        c.settings.customFilters = {CustomFilter{QUuid::createUuid(), true, "inv", "Work"}};
        c.workspaces[1].state = WorkspaceState::archivedUnsorted;
        c.addCleanupTask("Work", 800000000.0);
        c.workspaces[1].state = WorkspaceState::active;
    });
    test::writeFile(folder("Work") + "/notes.txt", "n");

    m.rename("Work", QString::fromUtf8(" Wörk "));
    const Config c = stored();
    EXPECT_EQ(storedNames(), QStringList({"Home", "Wörk", "Temp", Config::blankWorkspaceName}));
    EXPECT_EQ(test::readFile(folder("Wörk") + "/notes.txt"), "n");
    EXPECT_FALSE(QFileInfo::exists(folder("Work")));
    EXPECT_EQ(c.lastExpandedWorkspace, QString("Wörk"));
    EXPECT_EQ(c.workspace("Temp")->drainTarget, QString("Wörk"));
    EXPECT_EQ(c.settings.customFilters.front().collection, "Wörk");
    EXPECT_EQ(c.cleanupTasks.front().members, QStringList({"Wörk"}));
    EXPECT_EQ(c.settings.optionClickCarousel, QStringList({"Work"}));
    EXPECT_EQ(c.settings.screenshotsWorkspace, QString("Work"));

    // A missing folder is made under the new name; the active desktop follows.
    QDir(folder("Home")).removeRecursively();
    m.rename("Home", "House");
    EXPECT_EQ(stored().activeWorkspace, "House");
    EXPECT_TRUE(QFileInfo(folder("House")).isDir());

    // Nothing happens, and nothing is said, for the same name, blanks or the blank desktop.
    const int saves = store.saves;
    m.rename("Temp", "Temp");
    m.rename("Temp", "  ");
    m.rename(Config::blankWorkspaceName, "Visible");
    EXPECT_EQ(store.saves, saves);
    EXPECT_FALSE(m.errorMessage());
}

TEST_F(SettingsModelDesktops, RenameRefusesWhileBusyAndUndoesAFailedSave)
{
    SettingsModel &m = openWith({"Home", "Work", "Old"}, [&](Config &c) {
        c.workspaces[2].state = WorkspaceState::archivedUnsorted;
        c.workspaces[2].archiveLocation = paths.defaultArchiveRoot() + "/Old-2026-01-01";
    });
    QDir(folder("Old")).removeRecursively();
    test::writeFile(folder("Work") + "/a", "a");

    busy = true;
    m.rename("Work", "Job");
    EXPECT_EQ(errorMessage(), "Quorvane is mid-switch. Try again in a moment.");
    EXPECT_TRUE(QFileInfo::exists(folder("Work") + "/a"));
    busy = false;

    store.failSaves = true;
    m.rename("Work", "Job");
    EXPECT_TRUE(QFileInfo::exists(folder("Work") + "/a"));
    EXPECT_FALSE(QFileInfo::exists(folder("Job")));
    QDir(folder("Work")).removeRecursively();
    m.rename("Work", "Job");
    EXPECT_FALSE(QFileInfo::exists(folder("Job")));
    store.failSaves = false;

    // An archived desktop has no folder here: none is made for it.
    m.rename("Old", "Older");
    EXPECT_TRUE(stored().workspace("Older"));
    EXPECT_FALSE(QFileInfo::exists(folder("Older")));

    QDir().mkpath(folder("Taken"));
    m.rename("Home", "Taken");
    EXPECT_EQ(errorMessage(), "Couldn't rename the folder: File exists");
    EXPECT_EQ(stored().activeWorkspace, "Home");
}

TEST_F(SettingsModelDesktops, DeleteTrashesTheFolderOrReportsWhy)
{
    SettingsModel &m = openWith({"Home", "Del One", "Del Two"});
    test::writeFile(folder("Del One") + "/keep.txt", "k");

    m.deleteWorkspace(Config::blankWorkspaceName);
    m.deleteWorkspace("Home");
    EXPECT_EQ(errorMessage(), "“Home” is the active desktop. Switch to another first.");
    EXPECT_EQ(busyAsked, 0);
    busy = true;
    m.deleteWorkspace("Del One");
    EXPECT_EQ(errorMessage(), "Quorvane is mid-switch. Try again in a moment.");
    busy = false;

    // A failed save takes the folder back out of the Trash and forgets its record there.
    store.failSaves = true;
    m.deleteWorkspace("Del One");
    EXPECT_EQ(test::readFile(folder("Del One") + "/keep.txt"), "k");
    EXPECT_FALSE(QFileInfo::exists(trashFiles() + "/Del One"));
    EXPECT_FALSE(QFileInfo::exists(trashInfo() + "/Del One.trashinfo"));
    store.failSaves = false;

    m.deleteWorkspace("Del One");
    EXPECT_EQ(storedNames(), QStringList({"Home", "Del Two", Config::blankWorkspaceName}));
    EXPECT_EQ(test::readFile(trashFiles() + "/Del One/keep.txt"), "k");
    EXPECT_TRUE(QFileInfo::exists(trashInfo() + "/Del One.trashinfo"));

    QDir(folder("Del Two")).removeRecursively();
    m.deleteWorkspace("Del Two");
    ASSERT_TRUE(m.deleteFailure());
    EXPECT_EQ(m.deleteFailure()->workspace, "Del Two");
    EXPECT_TRUE(m.deleteFailure()->folderMissing);
    EXPECT_TRUE(stored().workspace("Del Two"));
    m.removeFromConfig("Del Two");
    EXPECT_FALSE(stored().workspace("Del Two"));
}

TEST_F(SettingsModelDesktops, ATrashThatCantBeSetUpMovesNothingAndSaysWhy)
{
    // A data folder whose "Trash" is a file; the working directory is watched for strays.
    const QTemporaryDir data(home.path() + "/data-XXXXXX");
    const QTemporaryDir working(home.path() + "/cwd-XXXXXX");
    test::writeFile(data.path() + "/Trash", "not a folder");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QString oldWorking = QDir::currentPath();
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QDir::setCurrent(working.path());

    SettingsModel &m = openWith({"Home", "Work"}, [&](Config &c) {
        c.workspaces.insert(c.workspaces.begin() + 2, Workspace::make("Old"));
        c.workspaces[2].state = WorkspaceState::archivedSorted;
        c.workspaces[2].archiveLocation = paths.defaultArchiveRoot() + "/Old-2029-03-01";
    });
    test::writeFile(folder("Work") + "/w1.txt", "w");
    test::writeFile(paths.defaultArchiveRoot() + "/Old-2029-03-01/o1.txt", "o");
    m.deleteWorkspace("Work");
    ASSERT_TRUE(m.deleteFailure());
    const DeleteFailure live = *m.deleteFailure();
    m.deleteArchived("Old");
    ASSERT_TRUE(m.deleteFailure());
    const DeleteFailure archived = *m.deleteFailure();

    QDir::setCurrent(oldWorking);
    qputenv("XDG_DATA_HOME", oldData);
    for (const DeleteFailure &failure : {live, archived}) {
        EXPECT_FALSE(failure.folderMissing) << qPrintable(failure.workspace);
        EXPECT_TRUE(failure.reason.contains("the Trash can't be used: ")) << qPrintable(failure.reason);
    }
    EXPECT_EQ(test::readFile(folder("Work") + "/w1.txt"), "w");
    EXPECT_EQ(test::readFile(paths.defaultArchiveRoot() + "/Old-2029-03-01/o1.txt"), "o");
    EXPECT_EQ(QDir(working.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    EXPECT_EQ(test::readFile(data.path() + "/Trash"), "not a folder");
    EXPECT_EQ(storedNames(), QStringList({"Home", "Work", "Old", Config::blankWorkspaceName}));
}

TEST_F(SettingsModelDesktops, DeskOrderIsAPermutationOfTheLiveDesktops)
{
    SettingsModel &m = openWith({"A", "B", "X", "C"}, [](Config &c) { c.workspaces[2].state = WorkspaceState::archivedSorted; });
    m.setDeskOrder({"A", "B"});
    m.setDeskOrder({"A", "A", "B"});
    m.setDeskOrder({"A", "A", "B", "C"});
    EXPECT_EQ(storedNames(), QStringList({"A", "B", "X", "C", Config::blankWorkspaceName}));
    m.setDeskOrder({"C", "A", "B"});
    EXPECT_EQ(storedNames(), QStringList({"C", "A", "X", "B", Config::blankWorkspaceName}));
}

TEST_F(SettingsModelDesktops, RetypingClearsTheRoutesThatNoLongerHold)
{
    SettingsModel &m = openWith({"Home", "T", "U"}, [](Config &c) {
        c.workspaces[1].type = WorkspaceType::temporary;
        c.workspaces[1].drainTarget = "Home";
        c.workspaces[1].timerDrains = true;
        c.workspaces[2].drainTarget = "T";
    });
    m.setType("T", WorkspaceType::temporary);
    EXPECT_EQ(stored().workspace("U")->drainTarget, std::nullopt);
    m.setType("T", WorkspaceType::permanent);
    EXPECT_EQ(stored().workspace("T")->drainTarget, std::nullopt);
    EXPECT_EQ(stored().workspace("T")->type, WorkspaceType::permanent);
}
