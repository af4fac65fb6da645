#include "Shared/AppInfo.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(AppInfo, InstalledNextToItsDesktopEntryHasTheIdentifier)
{
    test::TempHome prefix;
    const QString executable = prefix.filePath("bin/quorvane");
    test::writeFile(executable, "");
    EXPECT_EQ(AppInfo::forExecutable(executable), AppInfo::bareExecutable());

    test::writeFile(prefix.filePath("share/applications/app.quorvane.Quorvane.desktop"), "[Desktop Entry]\n");
    const AppInfo info = AppInfo::forExecutable(prefix.filePath("bin/../bin/quorvane"));
    const QString entry = prefix.filePath("share/applications/app.quorvane.Quorvane.desktop");
    EXPECT_EQ(info, AppInfo::installed(executable, entry));
    EXPECT_EQ(info.executablePath, executable);
    EXPECT_EQ(info.desktopEntry, entry);
    EXPECT_EQ(info.identifier, "app.quorvane.Quorvane");
    EXPECT_EQ(info.shortVersion, QStringLiteral(QUORVANE_VERSION));
    EXPECT_EQ(info.name, "Quorvane");
}

TEST(AppInfo, TheTestBinaryIsABareExecutable)
{
    EXPECT_TRUE(AppInfo::current().identifier.isEmpty());
    EXPECT_TRUE(AppInfo::current().executablePath.isEmpty());
    EXPECT_TRUE(AppInfo::current().desktopEntry.isEmpty());
    EXPECT_TRUE(AppInfo::forExecutable(QString()).identifier.isEmpty());
}
