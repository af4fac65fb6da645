#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quorvane;

TEST(Paths, NamesEveryLocationUnderTheDesktopsFolder)
{
    test::TempHome home;
    const Paths p = Paths::forHome(home.path());
    const QString root = home.path() + "/QuorVane Desktops";
    EXPECT_EQ(p.root(), root);
    EXPECT_EQ(p.workspaces(), p.root());
    EXPECT_EQ(p.store(), root + "/.store");
    EXPECT_EQ(p.config(), root + "/.store/config.json");
    EXPECT_EQ(p.journal(), root + "/.store/journal.json");
    EXPECT_EQ(p.cues(), root + "/.store/cues");
    EXPECT_EQ(p.pinnedStash(), root + "/.pinned");
    EXPECT_EQ(p.defaultArchiveRoot(), root + "/Archive");
    EXPECT_EQ(p.desktop(), home.path() + "/Desktop");
    EXPECT_EQ(Paths::reservedDeskNames, (QStringList{"Archive", ".store"}));
    // Naming creates nothing.
    EXPECT_FALSE(QDir(root).exists());
}

TEST(Paths, DesktopFollowsTheUserDirsFile)
{
    test::TempHome home;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
    test::writeFile(home.filePath(".config/user-dirs.dirs"),
                    "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(Paths::forHome(home.path()).desktop(), home.path() + "/Schreibtisch");
    test::writeFile(home.filePath(".config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(Paths::forHome(home.path()).desktop(), home.path());
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(Paths, ADesktopThatIsTheHomeOrHoldsTheDesktopsFolderIsUnsafe)
{
    test::TempHome home;
    EXPECT_TRUE(Paths(home.path(), home.path() + "/Desktop").desktopIsSafe());
    EXPECT_FALSE(Paths(home.path(), home.path()).desktopIsSafe());
    EXPECT_FALSE(Paths(home.path(), home.path() + "/").desktopIsSafe());
    EXPECT_FALSE(Paths(home.path(), home.path() + "/QuorVane Desktops").desktopIsSafe());
    EXPECT_FALSE(Paths(home.path(), home.path() + "/QuorVane Desktops/Work").desktopIsSafe());
    EXPECT_TRUE(Paths(home.path(), home.path() + "/QuorVane Desktops Elsewhere").desktopIsSafe());
    // A link named Desktop that points back at the home folder.
    ASSERT_TRUE(QFile::link(home.path(), home.filePath("Desktop")));
    EXPECT_FALSE(Paths(home.path(), home.path() + "/Desktop").desktopIsSafe());
}

TEST(Paths, StandardPathsLieInTheIsolatedTestHome)
{
    // The test main points HOME at a temporary folder: the process's own paths never name
    // the real home folder.
    EXPECT_EQ(Paths::standard().home(), QDir::cleanPath(qEnvironmentVariable("HOME")));
    EXPECT_TRUE(Paths::standard().root().startsWith(Paths::standard().home()));
}
