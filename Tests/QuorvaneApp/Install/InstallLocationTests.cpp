#include "Install/InstallError.h"
#include "Install/InstallLocation.h"

#include "Fakes/FakeLoginItem.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The system's operations, recording copies across file systems in that home's store.
InstallLocation::Operations standardIn(const TempHome &home)
{
    return InstallLocation::Operations::standard(Paths::forHome(home.path()).copyRecords());
}

// An installed layout below the given folder of a temporary home.
struct Installed {
    QString executable;
    QString entry;
    AppInfo info() const { return AppInfo::installed(executable, entry); }
};

Installed installAt(const QString &prefix, const QByteArray &tag = "new")
{
    Installed installed{prefix + "/bin/quorvane", prefix + "/share/applications/app.quorvane.Quorvane.desktop"};
    writeFile(installed.executable, "executable " + tag);
    writeFile(installed.entry, "[Desktop Entry]\nName=Quorvane " + tag + "\n");
    ::chmod(QFile::encodeName(installed.executable).constData(), 0755);
    return installed;
}

// The files of the Trash that hold these bytes.
int inTrash(const QByteArray &contents)
{
    int found = 0;
    const QString files = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
    QDirIterator it(files, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (readFile(it.next()) == contents)
            ++found;
    }
    return found;
}

} // namespace

TEST(InstallLocation, WhereTheExecutableLiesDecidesTheSituation)
{
    TempHome home;
    const auto at = [&](const QString &relative) {
        return InstallLocation::situation(AppInfo::installed(home.filePath(relative)), home.path());
    };
    EXPECT_EQ(at("Downloads/Sub/quorvane-1.0/bin/quorvane"), InstallLocation::Situation::inDownloads);
    EXPECT_EQ(at(".local/bin/quorvane"), InstallLocation::Situation::fine);
    EXPECT_EQ(at("Downloads/.local/bin/quorvane"), InstallLocation::Situation::inDownloads);
    EXPECT_EQ(at("Apps/quorvane-1.0/bin/quorvane"), InstallLocation::Situation::fine);
    EXPECT_EQ(at("DownloadsX/bin/quorvane"), InstallLocation::Situation::fine);
    // Without an identifier every place is fine.
    AppInfo bare = AppInfo::bareExecutable();
    bare.executablePath = home.filePath("Downloads/bin/quorvane");
    EXPECT_EQ(InstallLocation::situation(bare, home.path()), InstallLocation::Situation::fine);

    EXPECT_EQ(InstallLocation::sourceFolderName(AppInfo::installed(home.filePath("Downloads/Sub/quorvane-1.0/bin/quorvane"))),
              "Sub");
    EXPECT_EQ(InstallLocation::sourceFolderName(AppInfo::installed(home.filePath("Downloads/quorvane-1.0/bin/quorvane"))),
              "Downloads");
}

TEST(InstallLocation, TheDownloadFolderIsTheUserDirsOneAndNeverTheHomeItself)
{
    TempHome home;
    const QString userDirs = qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs";
    writeFile(userDirs, "XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");
    EXPECT_EQ(InstallLocation::downloadsFolder(home.path()), home.filePath("Fetched"));
    EXPECT_EQ(InstallLocation::situation(AppInfo::installed(home.filePath("Fetched/q/bin/quorvane")), home.path()),
              InstallLocation::Situation::inDownloads);
    writeFile(userDirs, "XDG_DOWNLOAD_DIR=\"$HOME/\"\n");
    EXPECT_EQ(InstallLocation::downloadsFolder(home.path()), QString());
    EXPECT_EQ(InstallLocation::situation(AppInfo::installed(home.filePath("q/bin/quorvane")), home.path()),
              InstallLocation::Situation::fine);
    QFile::remove(userDirs);
    EXPECT_EQ(InstallLocation::downloadsFolder(home.path()), home.filePath("Downloads"));
}

TEST(InstallLocation, ACopyUnderUsrIsThePackagesAndNeverOfferedAMove)
{
    TempHome home;
    const auto packaged = [](const QString &executable) { return InstallLocation::isPackaged(AppInfo::installed(executable)); };
    EXPECT_TRUE(packaged("/usr/bin/quorvane"));
    EXPECT_TRUE(packaged("/usr/games/quorvane"));
    EXPECT_FALSE(packaged("/usr/local/bin/quorvane"));
    EXPECT_FALSE(packaged("/usrx/bin/quorvane"));
    EXPECT_FALSE(packaged(home.filePath(".local/bin/quorvane")));
    EXPECT_FALSE(InstallLocation::isPackaged(AppInfo::bareExecutable()));
    // Reached through a link, the copy is where the link leads.
    ASSERT_TRUE(QDir().mkpath(home.filePath("links")));
    ASSERT_TRUE(QFile::link("/usr/bin", home.filePath("links/bin")));
    EXPECT_TRUE(packaged(home.filePath("links/bin/quorvane")));
    EXPECT_EQ(InstallLocation::packageRemovalCommand(), "sudo apt remove quorvane");

    // Even a download folder that holds the system's folders offers no move of the package's copy.
    writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"/usr\"\n");
    EXPECT_EQ(InstallLocation::situation(AppInfo::installed("/usr/bin/quorvane"), home.path()),
              InstallLocation::Situation::fine);
    EXPECT_EQ(InstallLocation::situation(AppInfo::installed("/usr/local/bin/quorvane"), home.path()),
              InstallLocation::Situation::inDownloads);
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs");
}

TEST(InstallLocation, TheMoveTrashesAnOlderCopyFirstAndRemovesTheLoginItemOnlyOnceInPlace)
{
    TempHome home;
    const Installed source = installAt(home.filePath("Downloads/quorvane-1.0"));
    const Installed older = installAt(home.filePath(".local"), "old");
    FakeLoginItem loginItem;
    loginItem.enabled = true;
    const AppInfo moved = InstallLocation::moveToApplications(source.info(), home.path(), &loginItem, standardIn(home));
    EXPECT_EQ(moved, AppInfo::installed(older.executable, older.entry));
    EXPECT_EQ(readFile(older.executable), "executable new");
    EXPECT_EQ(readFile(older.entry), "[Desktop Entry]\nName=Quorvane new\n");
    EXPECT_FALSE(QFileInfo::exists(source.executable));
    EXPECT_FALSE(QFileInfo::exists(source.entry));
    EXPECT_EQ(inTrash("executable old"), 1);
    EXPECT_EQ(inTrash("[Desktop Entry]\nName=Quorvane old\n"), 1);
    EXPECT_FALSE(loginItem.enabled);
    EXPECT_TRUE(QFileInfo(older.executable).isExecutable());
}

TEST(InstallLocation, ARefusedTrashOrAFailedMoveStopsAndKeepsTheLoginItem)
{
    TempHome home;
    const Installed source = installAt(home.filePath("Downloads/quorvane-1.0"));
    const Installed older = installAt(home.filePath(".local"), "old");
    FakeLoginItem loginItem;
    loginItem.enabled = true;
    InstallLocation::Operations refusing = standardIn(home);
    refusing.trash = [](const QString &) { throw InstallError("the Trash is full"); };
    try {
        InstallLocation::moveToApplications(source.info(), home.path(), &loginItem, refusing);
        FAIL() << "a refused Trash must stop the move";
    } catch (const InstallError &error) {
        EXPECT_EQ(error.description(), "the Trash is full");
    }
    EXPECT_EQ(readFile(older.executable), "executable old");
    EXPECT_EQ(readFile(source.executable), "executable new");
    EXPECT_TRUE(loginItem.enabled);

    // The executable's move fails: the login item still starts the copy that is still there.
    QFile::remove(older.executable);
    QFile::remove(older.entry);
    InstallLocation::Operations failing = standardIn(home);
    failing.move = [](const QString &, const QString &) { return EXDEV; };
    EXPECT_THROW(InstallLocation::moveToApplications(source.info(), home.path(), &loginItem, failing), InstallError);
    EXPECT_TRUE(loginItem.enabled);
    EXPECT_EQ(readFile(source.executable), "executable new");
}

TEST(InstallLocation, AReadOnlySourceIsCopiedWithItsMode)
{
    TempHome home;
    const Installed source = installAt(home.filePath("media/quorvane-1.0"));
    InstallLocation::Operations readOnly = standardIn(home);
    readOnly.readOnly = [](const QString &) { return true; };
    const AppInfo moved = InstallLocation::moveToApplications(source.info(), home.path(), nullptr, readOnly);
    EXPECT_EQ(readFile(source.executable), "executable new");
    EXPECT_EQ(readFile(moved.executablePath), "executable new");
    EXPECT_EQ(readFile(moved.desktopEntry), readFile(source.entry));
    EXPECT_EQ(QFileInfo(moved.executablePath).permissions(), QFileInfo(source.executable).permissions());
    // A copy never replaces: a second one finds the place taken by the first, which goes to
    // the Trash.
    InstallLocation::moveToApplications(source.info(), home.path(), nullptr, readOnly);
    EXPECT_GE(inTrash("executable new"), 1);
}
