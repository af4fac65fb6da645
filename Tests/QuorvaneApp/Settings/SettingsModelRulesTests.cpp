#include "SettingsModelHarness.h"

#include <QFileInfo>

using namespace quorvane;
using namespace quorvane::test;

using SettingsModelRules = SettingsModelHarness;

TEST_F(SettingsModelRules, TheScreenshotSweepChoosesOrMakesItsDesktop)
{
    SettingsModel &m = openWith({"Screenshots"}, [](Config &c) { c.settings.screenshotFilteringPaused = true; });
    m.setFilterScreenshots(true);
    Config c = stored();
    EXPECT_EQ(c.settings.screenshotsWorkspace, QString("Screenshots 2"));
    EXPECT_TRUE(c.settings.filterScreenshots);
    EXPECT_FALSE(c.settings.screenshotFilteringPaused);
    EXPECT_EQ(storedNames(), QStringList({"Screenshots", "Screenshots 2", Config::blankWorkspaceName}));
    EXPECT_TRUE(QFileInfo(folder("Screenshots 2")).isDir());
    EXPECT_TRUE(c.workspace("Screenshots 2")->createsCleanupTask);

    // Off and on again: the chosen desktop is reused.
    m.setFilterScreenshots(false);
    m.setFilterScreenshots(true);
    EXPECT_EQ(storedNames().size(), 3);
    EXPECT_EQ(stored().settings.screenshotsWorkspace, QString("Screenshots 2"));
}

TEST_F(SettingsModelRules, ARuleTargetIsCreatedUnderTheFullNameRule)
{
    SettingsModel &m = openWith({"Home", ".odd"}, [](Config &c) { c.settings.customFilters = {CustomFilter{}}; });
    const QUuid id = m.config().settings.customFilters.front().id;

    m.setCustomFilterCollection(id, " Receipts ");
    EXPECT_EQ(stored().settings.customFilters.front().collection, "Receipts");
    EXPECT_EQ(storedNames(), QStringList({"Home", ".odd", "Receipts", Config::blankWorkspaceName}));
    EXPECT_TRUE(QFileInfo(folder("Receipts")).isDir());

    const std::pair<const char *, const char *> refused[] = {
        {"_x", "Names can't start with “_” (reserved)."},
        {".store", "Names can't start with “.” (hidden folders)."},
        {".pinned", "Names can't start with “.” (hidden folders)."},
        {"archive", "“archive” is part of the desktops folder itself — pick another name."},
        {"../x", "Names can't start with “.” (hidden folders)."},
        {"a/b", "Names can't contain “/”."},
    };
    for (const auto &[name, text] : refused) {
        m.setCustomFilterCollection(id, name);
        EXPECT_EQ(errorMessage(), QString::fromUtf8(text)) << name;
    }
    EXPECT_EQ(stored().settings.customFilters.front().collection, "Receipts");
    EXPECT_EQ(storedNames().size(), 4);

    // An existing desktop of any name may be a target.
    m.setCustomFilterCollection(id, ".odd");
    EXPECT_EQ(stored().settings.customFilters.front().collection, ".odd");
    m.setCustomFilterCollection(id, " \t");
    EXPECT_EQ(stored().settings.customFilters.front().collection, "");
}

TEST_F(SettingsModelRules, PinnedItemsAreNamesOnTheDesktop)
{
    SettingsModel &m = openWith({"Home"});
    m.addPinnedFolder("Notes");
    m.addPinnedFolder(" Notes\t");
    m.addPinnedFolder(".");
    m.addPinnedFolder("..");
    EXPECT_EQ(stored().settings.pinnedFolders, QStringList({"Notes"}));
    m.addPinnedFolder("../Documents");
    EXPECT_EQ(errorMessage(), "Names can't contain “/”.");
    EXPECT_EQ(stored().settings.pinnedFolders, QStringList({"Notes"}));

    EXPECT_FALSE(m.pinnedFolderIsOnDesktop("Notes"));
    test::writeFile(paths.pinnedStash() + "/Notes", "n");
    EXPECT_TRUE(m.pinnedFolderIsOnDesktop("Notes"));
    EXPECT_FALSE(m.pinnedFolderIsOnDesktop("."));
    EXPECT_FALSE(m.pinnedFolderIsOnDesktop(".."));

    m.removePinnedFolder("Notes");
    EXPECT_TRUE(stored().settings.pinnedFolders.isEmpty());
}
