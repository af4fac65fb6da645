// Hostile folders and items: desktop folders that lead elsewhere, a folder on another file
// system, a Desktop that is gone, and items that cannot move.

#include "DesktopSwapper.h"
#include "FileStateStore.h"
#include "FileSystemSurface.h"
#include "Paths.h"
#include "SurfaceError.h"
#include "SwapError.h"
#include "SwapTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

void link(const QString &target, const QString &at)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()), 0) << at.toStdString();
}

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A home whose Desktop is ~/Schreibtisch, with a few folders of the user's own beside it.
class Bounds : public testing::Test {
protected:
    TempHome home;
    Paths paths{home.path(), home.path() + "/Schreibtisch"};
    FileSystemSurface surface{paths.desktop(), paths.workspaces()};
    FileStateStore store{paths.config(), paths.journal()};
    DesktopSwapper swapper{surface, store, [](double) {}};

    void SetUp() override
    {
        QDir().mkpath(paths.store());
        writeFile(paths.desktop() + "/a1", "a1");
        writeFile(home.path() + "/Books/book", "book");
        writeFile(home.path() + "/Documents/doc", "doc");
        Config config = deskDocument("A", {"A", "B", "Work", Config::blankWorkspaceName});
        config.settings.moveGapMs = 0;
        store.saveConfig(config);
        QDir().mkpath(paths.workspaces() + "/A");
        writeFile(paths.workspaces() + "/B/b1", "b1");
    }

    // Every entry below the home folder (the store left out), as a map path → kind.
    std::map<QString, bool> tree() const
    {
        std::map<QString, bool> out;
        QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        std::vector<QString> pending{home.path()};
        while (!pending.empty()) {
            const QString folder = pending.back();
            pending.pop_back();
            for (const QFileInfo &info : QDir(folder).entryInfoList(filters)) {
                if (info.fileName() == ".store")
                    continue;
                out[info.filePath()] = info.isDir();
                if (info.isDir() && !info.isSymLink())
                    pending.push_back(info.filePath());
            }
        }
        return out;
    }
};

TEST_F(Bounds, ADesktopFolderLeadingOutOfBoundsIsRefusedBeforeAnythingMoves)
{
    QDir().mkpath(paths.desktop() + "/inside");
    QDir().mkpath(paths.store() + "/inner");
    const struct {
        const char *what;
        QString target;
    } cases[] = {
        {"the home folder", home.path()},
        {"the file system's root", "/"},
        {"the Desktop", paths.desktop()},
        {"a folder inside the Desktop", paths.desktop() + "/inside"},
        {"the desktops folder", paths.workspaces()},
        {"nowhere", home.path() + "/gone"},
        {"the desktops folder's store", paths.store()},
        {"a folder inside the store", paths.store() + "/inner"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(paths.workspaces() + "/Work");
        link(c.target, paths.workspaces() + "/Work");
        const auto before = tree();
        const QByteArray document = readFile(paths.config());
        try {
            swapper.switchTo("Work");
            ADD_FAILURE() << "switch succeeded";
        } catch (const SwapError &error) {
            EXPECT_EQ(error, SwapError::folderOutOfBounds("Work"));
        }
        EXPECT_EQ(tree(), before);
        EXPECT_EQ(readFile(paths.config()), document);
        EXPECT_FALSE(QFileInfo::exists(paths.journal()));
    }

    // A file in place of the folder would stop the switch, and every replay, at its first item.
    QFile::remove(paths.workspaces() + "/Work");
    writeFile(paths.workspaces() + "/Work", "not a folder");
    {
        const auto before = tree();
        try {
            swapper.switchTo("Work");
            ADD_FAILURE() << "switch succeeded";
        } catch (const SwapError &error) {
            EXPECT_EQ(error, SwapError::folderOutOfBounds("Work"));
        }
        EXPECT_EQ(tree(), before);
        EXPECT_FALSE(QFileInfo::exists(paths.journal()));
    }
    QFile::remove(paths.workspaces() + "/Work");

    // Leaving for an ordinary desktop is refused too while the stash leads home.
    link(home.path(), paths.pinnedStash());
    EXPECT_THROW(swapper.switchTo("B"), SwapError);
    EXPECT_EQ(listing(paths.desktop()), (QStringList{"a1", "inside"}));
    QFile::remove(paths.pinnedStash());

    // A link to an ordinary folder elsewhere is a desktop folder like any other.
    QFile::remove(paths.workspaces() + "/Work");
    writeFile(home.path() + "/Elsewhere/Work/w1", "w1");
    link(home.path() + "/Elsewhere/Work", paths.workspaces() + "/Work");
    swapper.switchTo("Work");
    EXPECT_EQ(listing(paths.desktop()), QStringList{"w1"});
    EXPECT_EQ(listing(paths.workspaces() + "/A"), (QStringList{"a1", "inside"}));
    swapper.switchTo("A");
    EXPECT_EQ(listing(home.path() + "/Elsewhere/Work"), QStringList{"w1"});
}

TEST_F(Bounds, AReplayThroughAFolderLeadingHomeIsRefusedAndKeepsItsJournal)
{
    link(home.path(), paths.workspaces() + "/Work");
    store.saveJournal(Journal{"A", "Work", {"a1"}, {"Books", "Documents", Paths::rootName}});
    const auto before = tree();
    EXPECT_THROW(swapper.recoverIfNeeded(), SwapError);
    EXPECT_EQ(tree(), before);
    EXPECT_TRUE(store.loadJournal());
}

TEST_F(Bounds, AFolderOnAnotherFileSystemIsRefusedLikeAnotherVolume)
{
    struct stat here {};
    struct stat shm {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(home.path()).constData(), &here) != 0
        || shm.st_dev == here.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second writable file system at /dev/shm";
    QTemporaryDir other(QStringLiteral("/dev/shm/bounds-XXXXXX"));
    ASSERT_TRUE(other.isValid());
    writeFile(other.path() + "/w1", "w1");
    link(other.path(), paths.workspaces() + "/Work");
    try {
        swapper.switchTo("Work");
        FAIL() << "switch succeeded";
    } catch (const SwapError &error) {
        EXPECT_EQ(error, SwapError::crossVolumeStore());
    }
    EXPECT_EQ(listing(paths.desktop()), QStringList{"a1"});
    EXPECT_EQ(listing(other.path()), QStringList{"w1"});
    EXPECT_FALSE(QFileInfo::exists(paths.journal()));
}

TEST_F(Bounds, ADesktopLinkLeadingNowhereIsAMissingDesktop)
{
    ASSERT_TRUE(QDir(paths.desktop()).removeRecursively());
    link(home.path() + "/gone", paths.desktop());
    try {
        swapper.switchTo("B");
        FAIL() << "switch succeeded";
    } catch (const SwapError &error) {
        EXPECT_EQ(error, SwapError::desktopMissing());
    }
    EXPECT_EQ(listing(paths.workspaces() + "/B"), QStringList{"b1"});
}

// The file-system surface, except that moves of the named items fail with the given error.
class RefusingSurface final : public FileSystemSurface {
public:
    using FileSystemSurface::FileSystemSurface;
    std::map<QString, int> refused;
    void move(const QString &name, const Location &from, const Location &to) override
    {
        if (const auto it = refused.find(name); it != refused.end())
            throw SurfaceError(it->second, QStringLiteral("cannot move ") + name);
        FileSystemSurface::move(name, from, to);
    }
};

TEST(ItemsThatCannotMove, StayWhereTheyAreWhileTheSwitchCompletes)
{
    DiskDesks d;
    RefusingSurface surface(d.paths.desktop(), d.paths.workspaces());
    DesktopSwapper swapper(surface, d.store, [](double) {});
    Config config = deskDocument("A", {"A", "B"});
    config.settings.moveGapMs = 0;
    d.store.saveConfig(config);
    d.put(Location::desktop(), "a1", "a1");
    d.put(Location::desktop(), "locked");
    d.put(Location::workspace("B"), "b1", "b1");
    d.put(Location::workspace("B"), "long", "long");
    surface.refused = {{"locked", EACCES}, {"long", ENAMETOOLONG}};

    EXPECT_TRUE(swapper.switchTo("B").isEmpty());
    EXPECT_EQ(swapper.stayedBehind(), (QStringList{"locked", "long"}));
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"b1", "locked"}));
    EXPECT_EQ(d.names(Location::workspace("A")), QStringList{"a1"});
    EXPECT_EQ(d.names(Location::workspace("B")), QStringList{"long"});
    const Config after = d.store.loadConfig();
    EXPECT_EQ(after.activeWorkspace, "B");
    EXPECT_EQ(after.workspace("A")->files, QStringList{"a1"});
    // What stayed on the Desktop is listed on the desktop that shows it.
    EXPECT_EQ(after.workspace("B")->files, (QStringList{"b1", "locked"}));
    EXPECT_FALSE(QFileInfo::exists(d.paths.journal()));

    // With the cause gone, the next switch takes everything on the Desktop with B.
    surface.refused.clear();
    EXPECT_TRUE(swapper.switchTo("A").isEmpty());
    EXPECT_TRUE(swapper.stayedBehind().isEmpty());
    EXPECT_EQ(d.names(Location::desktop()), QStringList{"a1"});
    EXPECT_EQ(d.names(Location::workspace("B")), (QStringList{"b1", "locked", "long"}));
}

TEST(ItemsThatCannotMove, AFailureOfTheWholeFolderStopsTheSwitchWithItsJournal)
{
    DiskDesks d;
    RefusingSurface surface(d.paths.desktop(), d.paths.workspaces());
    DesktopSwapper swapper(surface, d.store, [](double) {});
    Config config = deskDocument("A", {"A", "B"});
    config.settings.moveGapMs = 0;
    d.store.saveConfig(config);
    d.put(Location::desktop(), "a1", "a1");
    d.put(Location::desktop(), "a2", "a2");
    surface.refused = {{"a2", ENOSPC}};
    EXPECT_THROW(swapper.switchTo("B"), SurfaceError);
    EXPECT_TRUE(d.store.loadJournal());
    EXPECT_EQ(d.store.loadConfig().activeWorkspace, "A");
    surface.refused.clear();
    swapper.recoverIfNeeded();
    EXPECT_EQ(d.store.loadConfig().activeWorkspace, "B");
    EXPECT_EQ(d.names(Location::workspace("A")), (QStringList{"a1", "a2"}));
    EXPECT_FALSE(d.store.loadJournal());
}

} // namespace
