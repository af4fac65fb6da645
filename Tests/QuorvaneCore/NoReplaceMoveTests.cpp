#include "NoReplaceMove.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
// Removes a test tree, names that are not UTF-8 included (QDir cannot name those).
void removeTestTree(const QString &root)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(native(root).toStdString()), ignored);
}

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

constexpr uid_t nobody = 65534;

// Gives the whole tree to the unprivileged user.
void giveToNobody(const QByteArray &path)
{
    ASSERT_EQ(::lchown(path.constData(), nobody, nobody), 0) << path.constData();
    struct stat st {};
    ASSERT_EQ(::lstat(path.constData(), &st), 0);
    if (!S_ISDIR(st.st_mode))
        return;
    std::vector<QByteArray> names;
    ASSERT_EQ(fileops::listEntries(path, names), 0);
    for (const QByteArray &name : names)
        giveToNobody(path + '/' + name);
}

// Runs `body` in a forked child, as the unprivileged user when `unprivileged` (root passes
// every permission check), and gives its exit code; -1 when the child did not end normally. A
// child that hangs is ended after 20 seconds.
int inChild(bool unprivileged, const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::alarm(20);
        if (unprivileged && ::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(255);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class NoReplaceMoveTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    QString root = paths.workspaces();
    QByteArray records = native(paths.copyRecords());

    void SetUp() override { QDir().mkpath(root); }

    std::vector<QByteArray> recordsLeft() const
    {
        std::vector<QByteArray> names;
        fileops::listEntries(records, names);
        return names;
    }
};

TEST_F(NoReplaceMoveTest, MovesAWholeFolderAndNeverReplacesAnything)
{
    buildTree(root + "/Source");
    ASSERT_EQ(fileops::moveItem(root + "/Source", root + "/Moved", paths.copyRecords()), 0);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
    expectTree(root + "/Moved");

    // An empty folder and a file in the way both make the move fail; nothing changes.
    QDir().mkpath(root + "/Empty");
    writeFile(root + "/file", "keep");
    EXPECT_EQ(fileops::moveItem(root + "/Moved", root + "/Empty", paths.copyRecords()), EEXIST);
    EXPECT_EQ(fileops::moveItem(root + "/Moved", root + "/file", paths.copyRecords()), EEXIST);
    EXPECT_EQ(readFile(root + "/file"), "keep");
    expectTree(root + "/Moved");
    EXPECT_EQ(fileops::moveItem(root + "/Missing", root + "/Other", paths.copyRecords()), ENOENT);
}

TEST_F(NoReplaceMoveTest, CopyThenRemoveCarriesEveryKindOfItem)
{
    buildTree(root + "/Source");
    ASSERT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy"), records), 0);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
    expectTree(root + "/Copy");
}

TEST_F(NoReplaceMoveTest, CopyThenRemoveRefusesAnExistingDestinationUntouched)
{
    buildTree(root + "/Source");
    writeFile(root + "/Taken/mine.txt", "mine");
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Taken"), records), EEXIST);
    EXPECT_EQ(QDir(root + "/Taken").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"mine.txt"});
    expectTree(root + "/Source");

    writeFile(root + "/single.txt", "source");
    writeFile(root + "/other.txt", "other");
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/single.txt"), native(root + "/other.txt"), records), EEXIST);
    EXPECT_EQ(readFile(root + "/single.txt"), "source");
    EXPECT_EQ(readFile(root + "/other.txt"), "other");
}

TEST_F(NoReplaceMoveTest, AFailedCopyIsRemovedAndTheSourceStaysWhole)
{
    buildTree(root + "/Source");
    // A pipe cannot be copied: the copy stops part-way.
    ASSERT_EQ(::mkfifo(native(root + "/Source/inner/zz-pipe").constData(), 0600), 0);
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy"), records), EOPNOTSUPP);
    EXPECT_FALSE(fileops::exists(root + "/Copy"));
    expectTree(root + "/Source");
    EXPECT_TRUE(fileops::exists(root + "/Source/inner/zz-pipe"));
}

TEST_F(NoReplaceMoveTest, WhatChangesInTheSourceDuringTheCopyIsNeverRemoved)
{
    const struct {
        const char *what;
        std::function<void(const QString &source)> change;
        int code;
        const char *changedItem; // relative to the source
        QByteArray changedContent;
    } cases[] = {
        {"a file added to an inner folder", [](const QString &s) { writeFile(s + "/inner/late.txt", "late"); },
         ENOTEMPTY, "/inner/late.txt", "late"},
        {"a file added to the top folder", [](const QString &s) { writeFile(s + "/late.txt", "late"); }, ENOTEMPTY,
         "/late.txt", "late"},
        {"a file appended to",
         [](const QString &s) {
             QFile file(s + "/inner/deep.txt");
             ASSERT_TRUE(file.open(QIODevice::Append));
             file.write(" and more");
         },
         EBUSY, "/inner/deep.txt", "deep and more"},
        {"a file replaced under its name",
         [](const QString &s) {
             writeFile(s + "/replacement", "newer");
             ASSERT_EQ(::rename(native(s + "/replacement").constData(), native(s + "/.hidden").constData()), 0);
         },
         EBUSY, "/.hidden", "newer"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        removeTestTree(root);
        buildTree(root + "/Source");
        fileops::CopyHooks hooks;
        hooks.beforeRemoval = [&] { c.change(root + "/Source"); };
        EXPECT_EQ(fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy"), records, hooks), c.code);
        // Both stay: the complete copy of what was there, and the source with the change.
        expectTree(root + "/Copy");
        EXPECT_EQ(readFile(root + "/Source" + c.changedItem), c.changedContent);
        EXPECT_EQ(readFile(root + "/Source/a.png"), "png bytes");
        EXPECT_TRUE(fileops::exists(root + "/Source/link"));
        EXPECT_TRUE(fileops::exists(native(root) + "/Source/odd\xff"));
    }

    // A single file appended to between copy and removal stays too.
    writeFile(root + "/single.txt", "one");
    fileops::CopyHooks append;
    append.beforeRemoval = [&] { writeFile(root + "/single.txt", "one two"); };
    EXPECT_EQ(fileops::copyThenRemove(native(root + "/single.txt"), native(root + "/single copy.txt"), records, append), EBUSY);
    EXPECT_EQ(readFile(root + "/single.txt"), "one two");
    EXPECT_EQ(readFile(root + "/single copy.txt"), "one");
}

TEST_F(NoReplaceMoveTest, ASourceThatCouldNotBeRemovedIsRefusedBeforeAnythingIsCopied)
{
    ASSERT_EQ(::chmod(native(home.path()).constData(), 0755), 0);
    const struct {
        const char *what;
        QString source;
        QString locked;
    } cases[] = {
        {"a read-only folder inside", root + "/Source", root + "/Source/inner"},
        {"a read-only parent", root + "/Parent/Source", root + "/Parent"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        buildTree(c.source);
        giveToNobody(native(root));
        ASSERT_EQ(::chmod(native(c.locked).constData(), 0555), 0);
        const int code = inChild(true, [&] { return fileops::copyThenRemove(native(c.source), native(root + "/Copy"), records); });
        EXPECT_EQ(code, EACCES);
        EXPECT_FALSE(fileops::exists(root + "/Copy"));
        expectTree(c.source);
        ::chmod(native(c.locked).constData(), 0755);
        removeTestTree(root);
        QDir().mkpath(root);
    }
}

TEST_F(NoReplaceMoveTest, AFailedCopyIsRemovedEvenWithReadOnlyFoldersInIt)
{
    // "inner" is writable for the user only through its "others" bits, so its copy, owned by
    // the user, would be read-only for them once it had the same mode. The unreadable file
    // after it makes the copy fail.
    ASSERT_EQ(::chmod(native(home.path()).constData(), 0755), 0);
    buildTree(root + "/Source");
    writeFile(root + "/Source/zz-secret", "secret");
    giveToNobody(native(root));
    ASSERT_EQ(::chown(native(root + "/Source/inner").constData(), 0, 0), 0);
    ASSERT_EQ(::chmod(native(root + "/Source/inner").constData(), 0557), 0);
    ASSERT_EQ(::chown(native(root + "/Source/zz-secret").constData(), 0, 0), 0);
    ASSERT_EQ(::chmod(native(root + "/Source/zz-secret").constData(), 0600), 0);

    const int code = inChild(true, [&] { return fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy"), records); });
    EXPECT_EQ(code, EACCES);
    EXPECT_FALSE(fileops::exists(root + "/Copy"));
    expectTree(root + "/Source");
    EXPECT_EQ(readFile(root + "/Source/zz-secret"), "secret");

    // And once the copy succeeds, the copied folder gets the mode after all.
    ASSERT_EQ(::chmod(native(root + "/Source/zz-secret").constData(), 0644), 0);
    ASSERT_EQ(inChild(true, [&] { return fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy"), records); }), 0);
    expectTree(root + "/Copy");
    struct stat st {};
    ASSERT_EQ(::stat(native(root + "/Copy/inner").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0557u);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
}

TEST_F(NoReplaceMoveTest, APipePutInAFilesPlaceFailsTheCopyInsteadOfWaiting)
{
    buildTree(root + "/Source");
    fileops::CopyHooks hooks;
    hooks.afterSurvey = [&] {
        const QByteArray file = native(root + "/Source/a.png");
        if (::unlink(file.constData()) != 0 || ::mkfifo(file.constData(), 0600) != 0)
            ::_exit(254);
    };
    // In a child: should the copy wait for a writer, the child ends and the test fails.
    const int code = inChild(false, [&] { return fileops::copyThenRemove(native(root + "/Source"), native(root + "/Copy"), records, hooks); });
    EXPECT_EQ(code, EOPNOTSUPP);
    EXPECT_FALSE(fileops::exists(root + "/Copy"));
    struct stat st {};
    ASSERT_EQ(::lstat(native(root + "/Source/a.png").constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(readFile(root + "/Source/inner/deep.txt"), "deep");
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
    ASSERT_EQ(fileops::moveItem(root + "/Source", other.path() + "/Moved", paths.copyRecords()), 0);
    EXPECT_FALSE(fileops::exists(root + "/Source"));
    expectTree(other.path() + "/Moved");

    writeFile(root + "/Taken", "taken");
    EXPECT_EQ(fileops::moveItem(other.path() + "/Moved", root + "/Taken", paths.copyRecords()), EEXIST);
    EXPECT_EQ(readFile(root + "/Taken"), "taken");
    expectTree(other.path() + "/Moved");
}

// A folder on another file system than the test's home, or none.
std::unique_ptr<QTemporaryDir> otherFileSystem(const QString &root)
{
    auto other = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/quorvane-move-XXXXXX"));
    struct stat a {
    }, b{};
    if (!other->isValid() || ::stat(native(root).constData(), &a) != 0
        || ::stat(native(other->path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        return nullptr;
    return other;
}

TEST_F(NoReplaceMoveTest, AMoveAcrossFileSystemsKilledAtAnyStepLeavesTheItemWholeInExactlyOnePlace)
{
    const auto other = otherFileSystem(root);
    if (!other)
        GTEST_SKIP() << "no second file system to move across";
    const QString target = other->path();
    // A user's folder that merely bears the name of a copy in progress, read-only inside.
    writeFile(target + "/.quorvane-copy-mine/notes/one.txt", "mine");
    ASSERT_EQ(::chmod(native(target + "/.quorvane-copy-mine/notes").constData(), 0555), 0);
    int steps = 0;
    for (int dieAt = 1;; ++dieAt) {
        removeTestTree(root + "/Source");
        removeTestTree(target + "/Moved");
        buildTree(root + "/Source");
        // The child dies at the chosen step; every step it passes is counted in its exit code.
        const int passed = inChild(false, [&] {
            int step = 0;
            const auto point = [&] {
                if (++step == dieAt)
                    ::_exit(200);
            };
            fileops::CopyHooks hooks{point, point, point};
            if (fileops::copyThenRemove(native(root + "/Source"), native(target + "/Moved"), records, hooks) != 0)
                return 100;
            return std::min(step, 199);
        });
        ASSERT_NE(passed, -1);
        ASSERT_NE(passed, 100) << "the uninterrupted move failed";
        // Nothing under the final name is ever unfinished, and nothing of the copy is listed.
        const bool placed = fileops::exists(target + "/Moved");
        if (placed)
            expectTree(target + "/Moved");
        // The next start settles the leftovers: the item whole in exactly one place, the user's
        // look-alike untouched, no record left.
        ASSERT_EQ(fileops::finishInterruptedCopies(records), 0);
        std::vector<QByteArray> left;
        ASSERT_EQ(fileops::listEntries(native(target), left), 0);
        const std::vector<QByteArray> expected = placed ? std::vector<QByteArray>{".quorvane-copy-mine", "Moved"}
                                                        : std::vector<QByteArray>{".quorvane-copy-mine"};
        EXPECT_EQ(left, expected) << "step " << dieAt;
        EXPECT_EQ(readFile(target + "/.quorvane-copy-mine/notes/one.txt"), "mine") << "step " << dieAt;
        EXPECT_EQ(recordsLeft(), std::vector<QByteArray>{}) << "step " << dieAt;
        EXPECT_NE(fileops::exists(root + "/Source"), placed) << "step " << dieAt;
        expectTree(placed ? target + "/Moved" : root + "/Source");
        // A retry is never blocked by what the interruption left.
        if (!placed) {
            ASSERT_EQ(fileops::moveItem(root + "/Source", target + "/Moved", paths.copyRecords()), 0);
            expectTree(target + "/Moved");
        }
        if (passed != 200) {
            steps = passed;
            break;
        }
    }
    ::chmod(native(target + "/.quorvane-copy-mine/notes").constData(), 0755);
    EXPECT_GT(steps, 12); // the record's steps, and every item of the tree a step of its own
}

TEST_F(NoReplaceMoveTest, AUsersFolderBearingACopysNameIsNeverRemoved)
{
    // The user's own folder, read-only inside, and a hidden copy an older build left without a
    // record in the store: neither is the application's to remove.
    writeFile(root + "/.quorvane-copy-thesis/chapters/one.txt", "chapter one");
    ASSERT_EQ(::chmod(native(root + "/.quorvane-copy-thesis/chapters").constData(), 0555), 0);
    writeFile(root + "/.quorvane-copy-0a1b2c3d-Away/source", "/somewhere/Away");
    writeFile(root + "/.quorvane-copy-0a1b2c3d-Away/item/a1.txt", "a1");
    ASSERT_EQ(fileops::finishInterruptedCopies(records), 0);
    // A copy into the same folder settles that folder's records first.
    writeFile(root + "/single.txt", "single");
    ASSERT_EQ(fileops::copyThenRemove(native(root + "/single.txt"), native(root + "/Copied.txt"), records), 0);
    EXPECT_EQ(readFile(root + "/.quorvane-copy-thesis/chapters/one.txt"), "chapter one");
    EXPECT_EQ(readFile(root + "/.quorvane-copy-0a1b2c3d-Away/item/a1.txt"), "a1");
    EXPECT_EQ(readFile(root + "/Copied.txt"), "single");
    EXPECT_EQ(recordsLeft(), std::vector<QByteArray>{});
    ::chmod(native(root + "/.quorvane-copy-thesis/chapters").constData(), 0755);
}

TEST_F(NoReplaceMoveTest, ARecordWhoseFolderTheUserReplacedRemovesNothing)
{
    const auto other = otherFileSystem(root);
    if (!other)
        GTEST_SKIP() << "no second file system to move across";
    buildTree(root + "/Source");
    // Killed in the middle of the copy.
    ASSERT_EQ(inChild(false, [&] {
                  int step = 0;
                  fileops::CopyHooks hooks;
                  hooks.eachStep = [&] {
                      if (++step == 7)
                          ::_exit(7);
                  };
                  return fileops::copyThenRemove(native(root + "/Source"), native(other->path() + "/Moved"), records, hooks);
              }),
              7);
    std::vector<QByteArray> names;
    ASSERT_EQ(fileops::listEntries(native(other->path()), names), 0);
    ASSERT_EQ(names.size(), 1u);
    ASSERT_TRUE(names.front().startsWith(".quorvane-copy-"));
    // The user moved the hidden folder aside and made one of that name, its marker copied along:
    // only the folder's inode tells it apart.
    const QString hidden = other->path() + '/' + QString::fromUtf8(names.front());
    ASSERT_TRUE(QDir().rename(hidden, other->path() + "/aside"));
    writeFile(hidden + "/mine.txt", "mine");
    ASSERT_TRUE(QFile::copy(other->path() + "/aside/token", hidden + "/token"));
    ASSERT_EQ(fileops::finishInterruptedCopies(records), 0);
    EXPECT_EQ(readFile(hidden + "/mine.txt"), "mine");
    EXPECT_TRUE(fileops::exists(other->path() + "/aside/token"));
    EXPECT_FALSE(fileops::exists(other->path() + "/Moved"));
    expectTree(root + "/Source");
    EXPECT_EQ(recordsLeft(), std::vector<QByteArray>{});
}

TEST_F(NoReplaceMoveTest, APlacedCopyThatDiffersFromWhatIsLeftOfItsSourceLeavesThatSource)
{
    const auto other = otherFileSystem(root);
    if (!other)
        GTEST_SKIP() << "no second file system to move across";
    buildTree(root + "/Source");
    // Killed right after the copy took its name: the source is still whole.
    ASSERT_EQ(inChild(false, [&] {
                  fileops::CopyHooks hooks;
                  hooks.beforeRemoval = [] { ::_exit(7); };
                  return fileops::copyThenRemove(native(root + "/Source"), native(other->path() + "/Moved"), records, hooks);
              }),
              7);
    // Meanwhile a file of the source changed, its size kept: the source stays, and so does the copy.
    writeFile(root + "/Source/inner/deep.txt", "DEEP");
    ASSERT_EQ(fileops::finishInterruptedCopies(records), 0);
    EXPECT_EQ(readFile(root + "/Source/inner/deep.txt"), "DEEP");
    EXPECT_EQ(readFile(root + "/Source/a.png"), "png bytes");
    expectTree(other->path() + "/Moved");
    std::vector<QByteArray> left;
    ASSERT_EQ(fileops::listEntries(native(other->path()), left), 0);
    EXPECT_EQ(left, std::vector<QByteArray>{"Moved"});
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
