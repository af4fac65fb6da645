#include "Install/Uninstaller.h"

#include "FileStateStore.h"
#include "LogCapture.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct UninstallerTest : ::testing::Test {
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileStateStore store{paths.config(), paths.journal()};
    Config config;

    void SetUp() override
    {
        QDir().mkpath(paths.store());
        QDir().mkpath(paths.desktop());
        config.activeWorkspace = QStringLiteral("Work");
    }
    QString root() const { return paths.workspaces(); }
    QString desk(const QString &name) const { return paths.desktop() + '/' + name; }
    Workspace &add(const QString &name, const QStringList &files = {})
    {
        config.workspaces.push_back(Workspace::make(name));
        QDir().mkpath(root() + '/' + name);
        for (const QString &file : files)
            writeFile(root() + '/' + name + '/' + file, name.toUtf8() + '/' + file.toUtf8());
        return config.workspaces.back();
    }
    void save() { store.saveConfig(config); }
    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace

TEST_F(UninstallerTest, OnlyLiveDesktopsHoldingVisibleItemsComeBackAndTheDocumentIsNotSaved)
{
    add("Work", {".directory"}); // the current desktop: its items are on the Desktop already
    add("Photos", {"a.jpg", "Trip/b.jpg", ".hidden-note"});
    Workspace &old = add("Old");
    old.state = WorkspaceState::archivedUnsorted;
    old.archiveLocation = paths.defaultArchiveRoot() + "/Old";
    QDir(root()).rmdir("Old");
    writeFile(paths.defaultArchiveRoot() + "/Old/old.txt", "old");
    add("Gone");
    QDir(root()).rmdir("Gone"); // its folder was deleted by the user
    save();
    const QByteArray before = readFile(paths.config());

    LogCapture log;
    const Uninstaller::Result result = Uninstaller(paths, store).restoreDesksToDesktop();
    EXPECT_EQ(result.restored, QStringList{"Photos"});
    EXPECT_TRUE(result.failed.isEmpty());
    EXPECT_EQ(entries(paths.desktop()), QStringList{"Photos"});
    EXPECT_EQ(entries(desk("Photos")), (QStringList{".hidden-note", "Trip", "a.jpg"}));
    EXPECT_EQ(readFile(desk("Photos/Trip/b.jpg")), "Photos/Trip/b.jpg");
    EXPECT_EQ(entries(root() + "/Work"), QStringList{".directory"});
    EXPECT_EQ(readFile(paths.defaultArchiveRoot() + "/Old/old.txt"), "old");
    EXPECT_EQ(readFile(paths.config()), before);
    // One line for the one move; the deleted folder is skipped without a word.
    EXPECT_EQ(log.lines, QStringList{"restored Photos → Photos"});
}

TEST_F(UninstallerTest, TakenNamesGetTheNextNumberAndPinsComeFirst)
{
    config.activeWorkspace = Config::blankWorkspaceName;
    add("Photos", {"a.jpg"});
    add(Config::blankWorkspaceName, {"left.txt"});
    save();
    writeFile(paths.pinnedStash() + "/notes.txt", "pinned notes");
    writeFile(paths.pinnedStash() + "/Pinned Folder/inside.txt", "inside");
    writeFile(paths.pinnedStash() + "/.DS_Store", "hidden");
    writeFile(root() + "/.hidden", Config::blankWorkspaceName.toUtf8() + '\n');
    writeFile(desk("notes.txt"), "mine");
    writeFile(desk("Photos/mine.txt"), "mine");
    // "Photos 2" is taken by a dangling link: anything at the path counts.
    ASSERT_EQ(::symlink("/nowhere", QFile::encodeName(desk("Photos 2")).constData()), 0);

    const Uninstaller::Result result = Uninstaller(paths, store).restoreDesksToDesktop();
    // The stash in the order of its names' bytes.
    EXPECT_EQ(result.restored, (QStringList{"Pinned Folder", "notes.txt 2", "Photos 3", "Hidden desktop"}));
    EXPECT_EQ(readFile(desk("notes.txt")), "mine");
    EXPECT_EQ(readFile(desk("notes.txt 2")), "pinned notes");
    EXPECT_EQ(readFile(desk("Pinned Folder/inside.txt")), "inside");
    EXPECT_EQ(entries(desk("Photos")), QStringList{"mine.txt"});
    EXPECT_EQ(entries(desk("Photos 3")), QStringList{"a.jpg"});
    EXPECT_EQ(entries(desk("Hidden desktop")), QStringList{"left.txt"});
    // The stash keeps its hidden entry; the blank desktop's hidden mark stays in the desktops
    // folder, so the folder arrives visible on the Desktop.
    EXPECT_EQ(entries(paths.pinnedStash()), QStringList{".DS_Store"});
    EXPECT_EQ(readFile(root() + "/.hidden"), Config::blankWorkspaceName.toUtf8() + '\n');
    EXPECT_FALSE(QFile::exists(paths.desktop() + "/.hidden"));
    EXPECT_EQ(Uninstaller(paths, store).uniqueDesktopURL("Photos"), desk("Photos 4"));
    EXPECT_EQ(Uninstaller(paths, store).uniqueDesktopURL("Else"), desk("Else"));
}

TEST_F(UninstallerTest, AFailedMoveIsLoggedInItsFormAndTheNextOneStillMoves)
{
    add("Work");
    add("Photos", {"a.jpg"});
    add("Music", {"b.mp3"});
    save();
    writeFile(paths.pinnedStash() + "/a pin", "pin");
    writeFile(paths.pinnedStash() + "/b pin", "pin");
    const auto failing = [&](const QByteArray &from, const QByteArray &to) {
        if (from.endsWith("/a pin") || from.endsWith("/Photos"))
            return EXDEV; // across file systems: a failed move, never a copy
        return fileops::renameNoReplace(from, to);
    };
    LogCapture log;
    const Uninstaller::Result result = Uninstaller(paths, store, failing).restoreDesksToDesktop();
    EXPECT_EQ(result.restored, (QStringList{"b pin", "Music"}));
    EXPECT_EQ(result.failed, (QStringList{"a pin", "Photos"}));
    const QString reason = fileops::errorText(EXDEV);
    EXPECT_EQ(log.count("restore of pinned a pin failed: " + reason), 1);
    EXPECT_EQ(log.count("restore of Photos failed: " + reason), 1);
    EXPECT_EQ(log.count("restored Music → Music"), 1);
    EXPECT_EQ(entries(root() + "/Photos"), QStringList{"a.jpg"});
    EXPECT_TRUE(QFile::exists(paths.pinnedStash() + "/a pin"));
}

TEST_F(UninstallerTest, ATargetTakenDuringTheMoveTakesTheNextNumber)
{
    add("Work");
    add("Photos", {"a.jpg"});
    save();
    int calls = 0;
    const auto racing = [&](const QByteArray &from, const QByteArray &to) {
        if (++calls == 1) {
            writeFile(QFile::decodeName(to) + "/theirs.txt", "theirs"); // appeared just before the move
            return fileops::renameNoReplace(from, to);
        }
        return fileops::renameNoReplace(from, to);
    };
    const Uninstaller::Result result = Uninstaller(paths, store, racing).restoreDesksToDesktop();
    EXPECT_EQ(result.restored, QStringList{"Photos 2"});
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(entries(desk("Photos")), QStringList{"theirs.txt"});
    EXPECT_EQ(entries(desk("Photos 2")), QStringList{"a.jpg"});
}

TEST_F(UninstallerTest, NamesThatReachOutsideTheirFolderNeverMove)
{
    add("Work");
    add(".store");       // would bring the document and the journal
    add("", {});         // would name the desktops folder itself
    add("../Documents"); // a folder outside the desktops folder
    writeFile(home.filePath("Documents/keep.txt"), "keep");
    add("Archive", {"Old-1/x.txt"}); // the default archive root
    add("Stuff", {"arch/Sorted/y.txt"});
    config.settings.archiveRoot = root() + "/Stuff/arch"; // a custom root inside a desktop
    add("Box", {"Kept/z.txt"});
    Workspace &kept = add("Kept");
    kept.state = WorkspaceState::archivedSorted;
    kept.archiveLocation = root() + "/Box/Kept"; // an archived desktop's folder inside another
    QDir(root()).rmdir("Kept");
    add("Fine", {"f.txt"});
    save();
    const QByteArray before = readFile(paths.config());

    LogCapture all;
    const Uninstaller::Result result = Uninstaller(paths, store).restoreDesksToDesktop();
    EXPECT_EQ(result.restored, QStringList{"Fine"});
    EXPECT_TRUE(result.failed.isEmpty()); // refusals are no failed moves
    EXPECT_EQ(entries(paths.desktop()), QStringList{"Fine"});
    EXPECT_EQ(readFile(paths.config()), before);
    EXPECT_EQ(readFile(home.filePath("Documents/keep.txt")), "keep");
    EXPECT_EQ(readFile(root() + "/Archive/Old-1/x.txt"), "Archive/Old-1/x.txt");
    EXPECT_EQ(readFile(root() + "/Stuff/arch/Sorted/y.txt"), "Stuff/arch/Sorted/y.txt");
    EXPECT_EQ(readFile(root() + "/Box/Kept/z.txt"), "Box/Kept/z.txt");
    for (const char *name : {".store", "", "../Documents"})
        EXPECT_EQ(all.count(QStringLiteral("restore of %1 failed: its name is not a folder of its own").arg(name)), 1) << name;
    for (const char *name : {"Archive", "Stuff", "Box"})
        EXPECT_EQ(all.count(QStringLiteral("restore of %1 failed: its folder holds the archive").arg(name)), 1) << name;
}

TEST_F(UninstallerTest, AnUnreadableDocumentBringsBackOnlyThePins)
{
    add("Photos", {"a.jpg"});
    writeFile(paths.config(), "{ not json");
    writeFile(paths.pinnedStash() + "/pin.txt", "pin");
    const Uninstaller::Result result = Uninstaller(paths, store).restoreDesksToDesktop();
    EXPECT_EQ(result.restored, QStringList{"pin.txt"});
    EXPECT_EQ(entries(root() + "/Photos"), QStringList{"a.jpg"});
    // And without a stash nothing comes back, silently.
    QDir(paths.pinnedStash()).removeRecursively();
    EXPECT_TRUE(Uninstaller(paths, store).restoreDesksToDesktop().restored.isEmpty());
}
