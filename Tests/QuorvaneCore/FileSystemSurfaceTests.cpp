#include "FileSystemSurface.h"
#include "Paths.h"
#include "SurfaceError.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using quorvane::test::readFile;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

class FileSystemSurfaceTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileSystemSurface surface{paths.desktop(), paths.workspaces()};

    QString onDesktop(const QString &name) const { return paths.desktop() + '/' + name; }
    QString inDesk(const QString &desk, const QString &name) const { return paths.workspaces() + '/' + desk + '/' + name; }

    // Expects a move to fail with the given errno and leave both sides as they were.
    void expectMoveFails(const QString &name, const Location &from, const Location &to, int code)
    {
        try {
            surface.move(name, from, to);
            ADD_FAILURE() << "move of " << name.toStdString() << " succeeded";
        } catch (const SurfaceError &error) {
            EXPECT_EQ(error.code(), code) << error.what();
        }
    }
};

TEST(Location, EqualityAndHashFollowKindAndCanonicalName)
{
    EXPECT_EQ(Location::desktop(), Location::desktop());
    EXPECT_EQ(Location::workspace("Work"), Location::workspace("Work"));
    EXPECT_NE(Location::workspace("Work"), Location::workspace("work"));
    EXPECT_NE(Location::workspace(""), Location::desktop());
    const Location composed = Location::workspace(QString::fromUtf8("Caf\xC3\xA9"));
    const Location decomposed = Location::workspace(QString::fromUtf8("Cafe\xCC\x81"));
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(qHash(composed), qHash(decomposed));
    QSet<Location> set{Location::desktop(), composed, decomposed, Location::workspace("Work")};
    EXPECT_EQ(set.size(), 3);
}

TEST(Location, UnsafeNamesAreRefused)
{
    for (const QString &name : {QString(), QString("."), QString(".."), QString("a/b"), QString("/"),
                                QString("a") + QChar(u'\0') + "b", QString(QChar(0xD800)), QString("a") + QChar(0xDC00),
                                QString("a") + QChar(0xD83D), QString(QChar(0xDE00)) + QChar(0xD83D) + "b"}) {
        EXPECT_FALSE(Location::isSafeName(name)) << name.toStdString();
        EXPECT_FALSE(Location::workspace(name).isSafe());
    }
    for (const QString &name : {QString(".pinned"), QString("..."), QString("_Hidden Desktop"), QString::fromUtf8("Ä b"),
                                QString::fromUtf8("smile \xF0\x9F\x98\x80 x")})
        EXPECT_TRUE(Location::isSafeName(name)) << name.toStdString();
    EXPECT_TRUE(Location::desktop().isSafe());
}

TEST_F(FileSystemSurfaceTest, ListingIsSortedByBytesWithoutDotNamesOrInvalidUtf8)
{
    writeFile(onDesktop("b.txt"), "b");
    writeFile(onDesktop("B.txt"), "B");
    writeFile(onDesktop(QString::fromUtf8("\xC3\xA9t\xC3\xA9")), "e");
    writeFile(onDesktop("a folder/inner"), "x");
    writeFile(onDesktop(".DS_Store"), "layout");
    writeFile(onDesktop(".hidden"), "h");
    // A name that is not UTF-8 (Latin-1 "é").
    const QByteArray raw = QFile::encodeName(paths.desktop()) + "/caf\xE9";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);

    EXPECT_EQ(surface.items(Location::desktop()),
              (QStringList{"B.txt", "a folder", "b.txt", QString::fromUtf8("\xC3\xA9t\xC3\xA9")}));
}

TEST_F(FileSystemSurfaceTest, FoldersThatCannotBeListedAreEmpty)
{
    EXPECT_TRUE(surface.items(Location::workspace("Gone")).isEmpty());
    writeFile(inDesk("Only Dots", ".DS_Store"), "x");
    EXPECT_TRUE(surface.items(Location::workspace("Only Dots")).isEmpty());
    writeFile(paths.workspaces() + "/plain file", "x");
    EXPECT_TRUE(surface.items(Location::workspace("plain file")).isEmpty());
}

TEST_F(FileSystemSurfaceTest, UnsafeLocationsListAsEmptyNeverAsTheDesktopsFolder)
{
    writeFile(inDesk("Work", "report.txt"), "r");
    writeFile(paths.desktop() + "/Work/x", "x");
    for (const QString &name : {QString(), QString("."), QString(".."), QString("Work/..")})
        EXPECT_TRUE(surface.items(Location::workspace(name)).isEmpty()) << name.toStdString();
    EXPECT_EQ(surface.items(Location::workspace("Work")), QStringList{"report.txt"});
}

TEST_F(FileSystemSurfaceTest, MoveCreatesTheDestinationFolderAndKeepsTheContents)
{
    writeFile(onDesktop("notes.txt"), "notes");
    writeFile(onDesktop("Project/src/main.c"), "int main;");
    ASSERT_FALSE(QFileInfo::exists(paths.workspaces()));

    surface.move("notes.txt", Location::desktop(), Location::workspace("Work"));
    surface.move("Project", Location::desktop(), Location::workspace("Work"));

    EXPECT_EQ(readFile(inDesk("Work", "notes.txt")), "notes");
    EXPECT_EQ(readFile(inDesk("Work", "Project/src/main.c")), "int main;");
    EXPECT_TRUE(surface.items(Location::desktop()).isEmpty());

    surface.move("notes.txt", Location::workspace("Work"), Location::desktop());
    EXPECT_EQ(readFile(onDesktop("notes.txt")), "notes");
}

TEST_F(FileSystemSurfaceTest, MovesNeverOverwrite)
{
    struct Case {
        const char *what;
        std::function<void(const QString &source, const QString &target)> make;
    };
    const Case cases[] = {
        {"file onto file", [](const QString &s, const QString &t) { writeFile(s, "source"); writeFile(t, "target"); }},
        {"file onto empty folder", [](const QString &s, const QString &t) { writeFile(s, "source"); QDir().mkpath(t); }},
        {"folder onto empty folder", [](const QString &s, const QString &t) { writeFile(s + "/in", "source"); QDir().mkpath(t); }},
        {"folder onto folder", [](const QString &s, const QString &t) { writeFile(s + "/in", "source"); writeFile(t + "/in", "target"); }},
        {"file onto link", [](const QString &s, const QString &t) { writeFile(s, "source"); QFile::link("/nonexistent", t); }},
        {"link onto file", [](const QString &s, const QString &t) { QFile::link("/nonexistent", s); writeFile(t, "target"); }},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QString("item %1").arg(n++);
        const QString source = onDesktop(name);
        const QString target = inDesk("Work", name);
        QDir().mkpath(QFileInfo(source).path());
        QDir().mkpath(QFileInfo(target).path());
        c.make(source, target);
        const QFileInfo before(target);
        const bool targetIsLink = before.isSymLink();
        const bool targetIsDir = !targetIsLink && before.isDir();
        expectMoveFails(name, Location::desktop(), Location::workspace("Work"), EEXIST);
        // Both items untouched.
        EXPECT_TRUE(QFileInfo(source).exists() || QFileInfo(source).isSymLink());
        if (targetIsLink) {
            EXPECT_TRUE(QFileInfo(target).isSymLink());
        } else if (targetIsDir) {
            EXPECT_TRUE(QFileInfo(target).isDir());
            if (QFileInfo::exists(target + "/in")) {
                EXPECT_EQ(readFile(target + "/in"), "target");
            }
        } else {
            EXPECT_EQ(readFile(target), "target");
        }
        if (QFileInfo(source).isFile() && !QFileInfo(source).isSymLink()) {
            EXPECT_EQ(readFile(source), "source");
        }
    }
}

TEST_F(FileSystemSurfaceTest, FailedMovesReportTheSystemError)
{
    QDir().mkpath(paths.desktop());
    expectMoveFails("missing", Location::desktop(), Location::workspace("Work"), ENOENT);
    // The destination "folder" is a file.
    writeFile(onDesktop("a.txt"), "a");
    writeFile(paths.workspaces() + "/Blocked", "not a folder");
    expectMoveFails("a.txt", Location::desktop(), Location::workspace("Blocked"), ENOTDIR);
    EXPECT_EQ(readFile(onDesktop("a.txt")), "a");

    // The log gets the paths; the user the item's name, its places and the system's text last.
    try {
        surface.move("a.txt", Location::desktop(), Location::workspace("Blocked"));
        ADD_FAILURE() << "the move into a file succeeded";
    } catch (const SurfaceError &error) {
        EXPECT_TRUE(error.message().contains(onDesktop("a.txt")));
        EXPECT_EQ(error.userText(), "Quorvane couldn't move \u201Ca.txt\u201D from the Desktop to the desktop \u201CBlocked\u201D: " + QString::fromLocal8Bit(strerror(ENOTDIR)) + ".");
    }
}

TEST_F(FileSystemSurfaceTest, UnsafeNamesAreNeverUsedAsPaths)
{
    writeFile(inDesk("Work", "keep.txt"), "keep");
    writeFile(onDesktop("x.txt"), "x");
    for (const QString &name : {QString(), QString("."), QString(".."), QString("../Work"), QString("a/b"),
                                QString("x.txt") + QChar(u'\0')})
        expectMoveFails(name, Location::desktop(), Location::workspace("Work"), EINVAL);
    // A desktop name that would resolve to the desktops folder itself, or outside it.
    for (const QString &desk : {QString(), QString("."), QString(".."), QString("Work/..")}) {
        expectMoveFails("x.txt", Location::desktop(), Location::workspace(desk), EINVAL);
        expectMoveFails("keep.txt", Location::workspace(desk), Location::desktop(), EINVAL);
    }
    EXPECT_EQ(readFile(onDesktop("x.txt")), "x");
    EXPECT_EQ(QDir(paths.workspaces()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Work"});
}

TEST_F(FileSystemSurfaceTest, SameVolumeNeedsBothFolders)
{
    QDir().mkpath(paths.desktop());
    EXPECT_FALSE(surface.sameVolume());
    QDir().mkpath(paths.workspaces());
    EXPECT_TRUE(surface.sameVolume());
    EXPECT_FALSE(FileSystemSurface(home.filePath("no Desktop"), paths.workspaces()).sameVolume());
    // /proc is always a volume of its own.
    EXPECT_FALSE(FileSystemSurface("/proc", paths.workspaces()).sameVolume());
}

TEST_F(FileSystemSurfaceTest, TheLayoutFileCarryMovesNothing)
{
    writeFile(onDesktop(".DS_Store"), "desktop layout");
    writeFile(inDesk("Work", ".DS_Store"), "work layout");
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {".DS_Store"});
    surface.carryPositions(Location::workspace("Work"), Location::desktop(), {".DS_Store"});
    surface.carryPositions(Location::desktop(), Location::workspace("New"), {});
    EXPECT_EQ(readFile(onDesktop(".DS_Store")), "desktop layout");
    EXPECT_EQ(readFile(inDesk("Work", ".DS_Store")), "work layout");
    EXPECT_FALSE(QFileInfo::exists(inDesk("New", "")));
}

TEST_F(FileSystemSurfaceTest, PositionOperationsDoNothing)
{
    writeFile(onDesktop("a"), "a");
    EXPECT_EQ(surface.readPosition("a"), std::nullopt);
    EXPECT_TRUE(surface.readPositions({"a"}).empty());
    EXPECT_NO_THROW(surface.writePosition({1, 2}, "a"));
    EXPECT_NO_THROW(surface.writePositions({{"a", {1, 2}}}));
}

} // namespace
