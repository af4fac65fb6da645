#include "Files/XdgTrash.h"

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

// A 250-byte name would need a 260-byte record name: the name in the Trash is shortened (a
// second one still gets its number), and the record keeps the original path.
TEST_F(XdgTrashTest, ANameTooLongForItsRecordIsShortenedInTheTrash)
{
    const QString name = QString(248, QLatin1Char('L')) + QStringLiteral("ä"); // 250 bytes
    writeFile(home.path() + "/a/" + name + "/a.txt", "a");
    writeFile(home.path() + "/b/" + name + "/b.txt", "b");
    const auto first = trash.moveToTrash(home.path() + "/a/" + name);
    const auto second = trash.moveToTrash(home.path() + "/b/" + name);
    ASSERT_TRUE(first.trashedPath && second.trashedPath) << qPrintable(first.reason + second.reason);
    const QString shortened = QString(245, QLatin1Char('L'));
    EXPECT_EQ(*first.trashedPath, data + "/Trash/files/" + shortened);
    EXPECT_EQ(*second.trashedPath, data + "/Trash/files/" + QString(243, QLatin1Char('L')) + " 2");
    const QByteArray info = readFile(data + "/Trash/info/" + shortened + ".trashinfo");
    EXPECT_TRUE(info.contains("\nPath=" + QFile::encodeName(home.path()).toPercentEncoding("/") + "/a/"
                              + name.toUtf8().toPercentEncoding("/") + "\n"))
        << info.constData();
}

// The home Trash a disk of its own (a mount point): the item goes to the Trash of its own
// volume; when that cannot be set up, nothing moves and the answer says why in words.
TEST_F(XdgTrashTest, AHomeTrashOnAnotherDiskSendsTheItemToItsOwnVolumesTrash)
{
    const QByteArray files = QFile::encodeName(data + "/Trash/files");
    const QByteArray volume = QFile::encodeName(home.path());
    // Disks as this test lays them out: the temporary home is one volume, the home Trash's
    // files folder another, everything outside a third.
    XdgTrash mounted(data, [&](const QByteArray &path) -> std::optional<dev_t> {
        if (path == files || path.startsWith(files + '/'))
            return 2;
        return path == volume || path.startsWith(volume + '/') ? 1 : 3;
    });
    const QString own = home.path() + "/.Trash-" + QString::number(::getuid());
    writeFile(home.path() + "/Work/w1.txt", "one");
    const auto result = mounted.moveToTrash(home.path() + "/Work");
    ASSERT_TRUE(result.trashedPath) << qPrintable(result.reason);
    EXPECT_EQ(*result.trashedPath, own + "/files/Work");
    EXPECT_TRUE(readFile(own + "/info/Work.trashinfo").contains("\nPath=Work\n"));

    QDir(own).removeRecursively();
    writeFile(own, "not a folder");
    writeFile(home.path() + "/Play/p1.txt", "one");
    const auto refused = mounted.moveToTrash(home.path() + "/Play");
    EXPECT_FALSE(refused.trashedPath);
    EXPECT_EQ(refused.reason, "the Trash can't be used: your Trash (“" + data + "/Trash”) is on another disk than “Play”, "
                                                                                "and that disk has no Trash of its own: “"
                  + own + "” isn't a folder.");
    EXPECT_EQ(readFile(home.path() + "/Play/p1.txt"), "one");
}

} // namespace
