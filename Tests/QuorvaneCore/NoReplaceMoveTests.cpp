#include "NoReplaceMove.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using quorvane::test::readFile;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// A folder tree with every kind of item a copy must carry: a file, a hidden file, a nested
// folder, a link, and a name that is not valid UTF-8.
void buildTree(const QString &root)
{
    writeFile(root + "/a.png", "png bytes");
    writeFile(root + "/.hidden", "secret");
    writeFile(root + "/inner/deep.txt", "deep");
    ASSERT_EQ(::symlink("a.png", native(root + "/link").constData()), 0);
    const QByteArray odd = native(root) + "/odd\xff";
    const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "odd", 3), 3);
    ::close(fd);
    ::chmod(native(root + "/inner/deep.txt").constData(), 0640);
    const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, native(root + "/a.png").constData(), times, 0);
}

void expectTree(const QString &root)
{
    EXPECT_EQ(readFile(root + "/a.png"), "png bytes");
    EXPECT_EQ(readFile(root + "/.hidden"), "secret");
    EXPECT_EQ(readFile(root + "/inner/deep.txt"), "deep");
    char target[64] = {};
    ASSERT_EQ(::readlink(native(root + "/link").constData(), target, sizeof target - 1), 5);
    EXPECT_STREQ(target, "a.png");
    EXPECT_TRUE(fileops::exists(native(root) + "/odd\xff"));
    struct stat st {};
    ASSERT_EQ(::stat(native(root + "/inner/deep.txt").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat(native(root + "/a.png").constData(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
}

class NoReplaceMoveTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    QString root = paths.workspaces();

    void SetUp() override { QDir().mkpath(root); }
};

TEST_F(NoReplaceMoveTest, MovesAWholeFolderAndNeverReplacesAnything)
{
    buildTree(root + "/Source");
    ASSERT_EQ(fileops::moveItem(root + "/Source", root + "/Moved"), 0);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
    expectTree(root + "/Moved");

    // An empty folder and a file in the way both make the move fail; nothing changes.
    QDir().mkpath(root + "/Empty");
    writeFile(root + "/file", "keep");
    EXPECT_EQ(fileops::moveItem(root + "/Moved", root + "/Empty"), EEXIST);
    EXPECT_EQ(fileops::moveItem(root + "/Moved", root + "/file"), EEXIST);
    EXPECT_EQ(readFile(root + "/file"), "keep");
    expectTree(root + "/Moved");
    EXPECT_EQ(fileops::moveItem(root + "/Missing", root + "/Other"), ENOENT);
}

TEST_F(NoReplaceMoveTest, CopyThenRemoveCarriesEveryKindOfItem)
{
    buildTree(root + "/Source");
    ASSERT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy")), 0);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
    expectTree(root + "/Copy");
}

TEST_F(NoReplaceMoveTest, CopyThenRemoveRefusesAnExistingDestinationUntouched)
{
    buildTree(root + "/Source");
    writeFile(root + "/Taken/mine.txt", "mine");
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Taken")), EEXIST);
    EXPECT_EQ(QDir(root + "/Taken").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"mine.txt"});
    expectTree(root + "/Source");

    writeFile(root + "/single.txt", "source");
    writeFile(root + "/other.txt", "other");
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/single.txt"), native(root + "/other.txt")), EEXIST);
    EXPECT_EQ(readFile(root + "/single.txt"), "source");
    EXPECT_EQ(readFile(root + "/other.txt"), "other");
}

TEST_F(NoReplaceMoveTest, AFailedCopyIsRemovedAndTheSourceStaysWhole)
{
    buildTree(root + "/Source");
    // A pipe cannot be copied: the copy stops part-way.
    ASSERT_EQ(::mkfifo(native(root + "/Source/inner/zz-pipe").constData(), 0600), 0);
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy")), EOPNOTSUPP);
    EXPECT_FALSE(fileops::exists(root + "/Copy"));
    expectTree(root + "/Source");
    EXPECT_TRUE(fileops::exists(root + "/Source/inner/zz-pipe"));
}

TEST_F(NoReplaceMoveTest, MovesAcrossFileSystemsByCopying)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/quorvane-move-XXXXXX"));
    struct stat a {};
    struct stat b {};
    if (!other.isValid() || ::stat(native(root).constData(), &a) != 0 || ::stat(native(other.path()).constData(), &b) != 0
        || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system to move across";
    buildTree(root + "/Source");
    ASSERT_EQ(fileops::renameNoReplace(native(root + "/Source"), native(other.path() + "/Moved")), EXDEV);
    ASSERT_EQ(fileops::moveItem(root + "/Source", other.path() + "/Moved"), 0);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
    expectTree(other.path() + "/Moved");

    writeFile(root + "/Taken", "taken");
    EXPECT_EQ(fileops::moveItem(other.path() + "/Moved", root + "/Taken"), EEXIST);
    EXPECT_EQ(readFile(root + "/Taken"), "taken");
    expectTree(other.path() + "/Moved");
}

TEST_F(NoReplaceMoveTest, ListingsIncludeHiddenNamesInByteOrder)
{
    writeFile(root + "/F/b", "");
    writeFile(root + "/F/.h", "");
    writeFile(root + "/F/A", "");
    writeFile(root + "/F/\xc3\xa9", "");
    std::vector<QByteArray> names;
    ASSERT_EQ(fileops::listEntries(native(root + "/F"), names), 0);
    EXPECT_EQ(names, (std::vector<QByteArray>{".h", "A", "b", "\xc3\xa9"}));
    EXPECT_EQ(fileops::listEntries(native(root + "/Missing"), names), ENOENT);
}

} // namespace
