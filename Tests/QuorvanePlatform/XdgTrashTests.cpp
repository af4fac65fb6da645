#include "XdgTrash.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace quorvane;
using quorvane::test::readFile;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

struct XdgTrashTest : testing::Test {
    TempHome home;
    QString data = home.path() + "/.local/share";
    XdgTrash trash{data};
};

TEST_F(XdgTrashTest, TrashesUnderAFreeNameWithItsRecordWrittenFirst)
{
    writeFile(home.path() + "/a/Work/w1.txt", "one");
    writeFile(home.path() + "/b/Work/w2.txt", "two");
    writeFile(home.path() + "/Notes 100%.txt", "n");
    const auto first = trash.moveToTrash(home.path() + "/a/Work");
    const auto second = trash.moveToTrash(home.path() + "/b/Work");
    const auto odd = trash.moveToTrash(home.path() + "/Notes 100%.txt");
    ASSERT_TRUE(first.trashedPath && second.trashedPath && odd.trashedPath) << qPrintable(second.reason);
    EXPECT_EQ(*first.trashedPath, data + "/Trash/files/Work");
    EXPECT_EQ(*second.trashedPath, data + "/Trash/files/Work 2");
    EXPECT_EQ(*odd.trashedPath, data + "/Trash/files/Notes 100%.txt");
    EXPECT_EQ(readFile(data + "/Trash/files/Work 2/w2.txt"), "two");
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/b/Work"));
    const QByteArray info = readFile(data + "/Trash/info/Work 2.trashinfo");
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + QFile::encodeName(home.path()) + "/b/Work\nDeletionDate="))
        << info.constData();
    EXPECT_TRUE(readFile(data + "/Trash/info/Notes 100%.txt.trashinfo").contains("/Notes%20100%25.txt\n"));
}

TEST_F(XdgTrashTest, ATrashThatIsNoRealFolderMovesNothing)
{
    writeFile(home.path() + "/Work/w1.txt", "one");
    // The Trash a file; then its files folder a link to elsewhere.
    writeFile(data + "/Trash", "file");
    auto result = trash.moveToTrash(home.path() + "/Work");
    EXPECT_FALSE(result.trashedPath);
    EXPECT_TRUE(result.reason.startsWith("the Trash can't be used: ")) << qPrintable(result.reason);

    QFile::remove(data + "/Trash");
    QDir().mkpath(data + "/Trash/info");
    QDir().mkpath(home.path() + "/elsewhere");
    ASSERT_EQ(::symlink(QFile::encodeName(home.path() + "/elsewhere").constData(),
                        QFile::encodeName(data + "/Trash/files").constData()),
              0);
    result = trash.moveToTrash(home.path() + "/Work");
    EXPECT_FALSE(result.trashedPath);
    EXPECT_TRUE(result.reason.contains("isn't a folder")) << qPrintable(result.reason);

    EXPECT_EQ(readFile(home.path() + "/Work/w1.txt"), "one");
    EXPECT_TRUE(QDir(home.path() + "/elsewhere").isEmpty());
    EXPECT_TRUE(QDir(data + "/Trash/info").isEmpty());
}

} // namespace
