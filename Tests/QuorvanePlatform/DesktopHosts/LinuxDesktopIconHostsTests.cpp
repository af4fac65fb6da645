#include "DesktopHosts/IconKeyFile.h"
#include "DesktopHosts/LinuxDesktopIconHosts.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quorvane;
using quorvane::test::TempHome;

namespace {

using test::inodeOf;

class XfdesktopStore : public testing::Test {
protected:
    TempHome home;
    QString config = home.path() + "/.config";
    QString desk = home.path() + "/Desktop";
    QString folder = config + "/xfce4/desktop";
    QString file = folder + "/icons.screen0-1264x784.rc";
    XfdesktopIconHost host{config, desk};

    void SetUp() override
    {
        QDir().mkpath(folder);
        test::writeFile(file, ("[xfdesktop-version-4.10.3+-rcfile_format]\n4.10.3+=true\n\n"
                               "["
                               + desk + "/a.txt]\nrow=3\ncol=6\n\n"
                                        "# the user's own note\n["
                               + desk + "/b b]\nrow=1\ncol=0\n\n[/]\nrow=0\ncol=0\n")
                                  .toUtf8());
        QFile::link(file, folder + "/icons.screen.latest.rc");
    }
};

TEST_F(XfdesktopStore, ReadsTheGridCellOfEachNameOfTheScreensCurrentFile)
{
    // A file of another size, written later, is not the one in use.
    test::writeFile(folder + "/icons.screen0-800x600.rc", "[xfdesktop-version-4.10.3+-rcfile_format]\n");
    EXPECT_EQ(host.read({"a.txt", "b b", "missing", "/"}), (IconPositions{{"a.txt", {6, 3}}, {"b b", {0, 1}}}));
}

TEST_F(XfdesktopStore, WritesOnlyTheGroupsGivenInOneStepAndOnlyOnAChange)
{
    const auto inode = inodeOf(file);
    EXPECT_FALSE(host.write({{"a.txt", {6, 3}}}, {"never there"}));
    EXPECT_EQ(inodeOf(file), inode) << "rewritten without a change";

    EXPECT_TRUE(host.write({{"a.txt", {2, 5}}, {"new one", {7, 0}}}, {"b b"}));
    EXPECT_NE(inodeOf(file), inode) << "not replaced in one step";
    EXPECT_TRUE(QFileInfo(folder + "/icons.screen.latest.rc").isSymLink()) << "the host's link was replaced";
    const QString text = QString::fromUtf8(test::readFile(file));
    EXPECT_EQ(text, "[xfdesktop-version-4.10.3+-rcfile_format]\n4.10.3+=true\n\n"
                    "["
                  + desk + "/a.txt]\nrow=5\ncol=2\n\n"
                           "# the user's own note\n[/]\nrow=0\ncol=0\n\n"
                           "["
                  + desk + "/new one]\ncol=7\nrow=0\n");
    EXPECT_EQ(host.read({"a.txt", "new one", "b b"}), (IconPositions{{"a.txt", {2, 5}}, {"new one", {7, 0}}}));
}

TEST_F(XfdesktopStore, AnUnknownMissingOrDamagedStoreIsLeftAlone)
{
    test::writeFile(file, "[a.txt]\nrow=1\ncol=1\n"); // the format before full paths
    EXPECT_THROW(host.read({"a.txt"}), IconStoreError);
    EXPECT_THROW(host.write({{"a.txt", {0, 0}}}, {}), IconStoreError);
    EXPECT_EQ(test::readFile(file), "[a.txt]\nrow=1\ncol=1\n");
    test::writeFile(file, "[xfdesktop-version-4.10.3+-rcfile_format]\nthis is no key file line\n");
    EXPECT_THROW(host.write({{"a.txt", {0, 0}}}, {}), IconStoreError);
    QFile::remove(folder + "/icons.screen.latest.rc");
    QFile::remove(file);
    EXPECT_THROW(host.read({"a.txt"}), IconStoreError);
    EXPECT_THROW(host.write({{"a.txt", {0, 0}}}, {}), IconStoreError);
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(XfdesktopStore, AStoreThatIsNoRegularFileOrTooLargeIsNeitherReadNorWritten)
{
    // The host's link leads to a FIFO, then to a device: nothing waits, nothing is written.
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_THROW(host.read({"a.txt"}), IconStoreError);
    EXPECT_THROW(host.write({{"a.txt", {0, 0}}}, {}), IconStoreError);
    QFile::remove(folder + "/icons.screen.latest.rc");
    QFile::link("/dev/zero", folder + "/icons.screen.latest.rc");
    EXPECT_THROW(host.read({"a.txt"}), IconStoreError);
    EXPECT_THROW(host.write({{"a.txt", {0, 0}}}, {}), IconStoreError);
    QFile::remove(folder + "/icons.screen.latest.rc");
    QFile::remove(file);
    test::writeFile(file, "[xfdesktop-version-4.10.3+-rcfile_format]\n" + QByteArray(5 * 1024 * 1024, '#'));
    QFile::link(file, folder + "/icons.screen.latest.rc");
    EXPECT_THROW(host.read({"a.txt"}), IconStoreError);
    const auto inode = inodeOf(file);
    EXPECT_THROW(host.write({{"a.txt", {0, 0}}}, {}), IconStoreError);
    EXPECT_EQ(inodeOf(file), inode);
}

TEST(PcmanfmStore, AStoreLinkedToADocumentIsNeverWrittenThrough)
{
    TempHome home;
    const QString config = home.path() + "/.config";
    const QString document = home.path() + "/thesis.txt";
    const QByteArray text = "[a.txt]\nx=1\ny=2\n";
    test::writeFile(document, text);
    QDir().mkpath(config + "/pcmanfm/LXDE");
    QFile::link(document, config + "/pcmanfm/LXDE/desktop-items-0.conf");
    PcmanfmIconHost host(config, DesktopHostProcess{"pcmanfm", "LXDE", 0, {}});
    EXPECT_THROW(host.read({"a.txt"}), IconStoreError);
    EXPECT_THROW(host.write({{"a.txt", {5, 5}}}, {}), IconStoreError);
    EXPECT_EQ(test::readFile(document), text);
}

TEST(PcmanfmStore, KeepsTheDesktopsSettingsAndEscapesNamesAsTheHostDoes)
{
    TempHome home;
    const QString config = home.path() + "/.config";
    const QString file = config + "/pcmanfm/LXDE/desktop-items-0.conf";
    QDir().mkpath(config + "/pcmanfm/LXDE");
    test::writeFile(file, "[*]\nwallpaper_mode=color\ndesktop_bg=#102030\n\n[note.txt]\nx=357\ny=257\n\n[back\\\\slash]\nx=1\ny=2\n\n");
    PcmanfmIconHost host(config, DesktopHostProcess{"pcmanfm", "LXDE", 0, {}});
    EXPECT_EQ(host.name(), "pcmanfm/LXDE");
    EXPECT_EQ(host.pickup(), DesktopIconHost::Pickup::onRestart);
    EXPECT_EQ(host.read({"note.txt", "back\\slash", "*"}), (IconPositions{{"note.txt", {357, 257}}, {"back\\slash", {1, 2}}}));
    EXPECT_TRUE(host.write({{"two\nlines", {10, 20}}}, {"note.txt"}));
    EXPECT_EQ(QString::fromUtf8(test::readFile(file)),
              "[*]\nwallpaper_mode=color\ndesktop_bg=#102030\n\n[back\\\\slash]\nx=1\ny=2\n\n[two\\nlines]\nx=10\ny=20\n");
    EXPECT_EQ(host.read({"two\nlines"}), (IconPositions{{"two\nlines", {10, 20}}}));
    // A name that cannot be a group is not served.
    EXPECT_FALSE(host.write({{"odd]name", {1, 1}}}, {}));
}

} // namespace
