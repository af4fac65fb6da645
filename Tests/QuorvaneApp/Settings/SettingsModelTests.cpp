#include "SettingsModelHarness.h"

#include "Desktop/ArchiveError.h"
#include "StoreError.h"
#include "SwitchLookSpec.h"

using namespace quorvane;
using namespace quorvane::test;

using SettingsModelCore = SettingsModelHarness;

TEST_F(SettingsModelCore, AFailedSaveKeepsTheDocumentAndSkipsOnChange)
{
    SettingsModel &m = openWith({"Work"});
    const Config before = m.config();
    int errors = 0;
    QObject::connect(&m, &SettingsModel::errorMessageChanged, [&] { ++errors; });
    store.failSaves = true;

    m.setCleanupNotifyMinutes(600);
    EXPECT_EQ(errorMessage(), "Couldn't save the settings: Input/output error");
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(m.config(), before);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(m.createWorkspace("New", WorkspaceType::permanent, {}, {}, true, {}, false));

    // A later success stores, republishes before it tells of the change, and leaves the old message.
    store.failSaves = false;
    std::int64_t seen = -1;
    QObject::connect(&m, &SettingsModel::stored, [&] { seen = m.config().settings.cleanupNotifyMinutes; });
    m.setCleanupNotifyMinutes(600);
    EXPECT_EQ(seen, 600);
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 600);
    EXPECT_TRUE(m.errorMessage().has_value());
}

TEST_F(SettingsModelCore, PlainDescriptionsOfFailures)
{
    EXPECT_EQ(SettingsModel::plainDescription(StoreError::configNewerThanApp(7)),
              "configNewerThanApp");
    EXPECT_EQ(SettingsModel::plainDescription(IoError(ENOSPC, "Couldn't write")),
              "Couldn't write: No space left on device");
    EXPECT_EQ(SettingsModel::plainDescription(SettingsModel::Refusal("“A” already exists.")),
              "“A” already exists.");
    EXPECT_EQ(SettingsModel::plainDescription(std::runtime_error("broken")), "broken");

    // A document of a newer format refuses every change by name.
    test::writeFile(paths.config(), R"({"schemaVersion":2,"activeWorkspace":"_Hidden Desktop"})");
    SettingsModel &m = open();
    m.setFollowSpaces(true);
    EXPECT_EQ(errorMessage(), "configNewerThanApp");
    EXPECT_EQ(changes, 0);
}

TEST_F(SettingsModelCore, SimpleSettersStoreTheirFieldOnly)
{
    SettingsModel &m = openWith({"Work"}, [](Config &c) {
        c.settings.floatingDockRememberPosition = true;
        c.settings.floatingDockPosition = FloatingDockPosition{0.25, 0.75};
        c.settings.switchLook = SwitchLook::frost;
        c.settings.switchIntensity = SwitchIntensity::strong;
    });
    m.setCleanupNotifyMinutes(-5);
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 0);
    m.setCleanupNotifyMinutes(2000);
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 1439);

    m.setScreenshotNamePrefix("");
    EXPECT_EQ(stored().settings.screenshotNamePrefix, std::nullopt);
    m.setScreenshotNamePrefix(" Shot");
    EXPECT_EQ(stored().settings.screenshotNamePrefix, QString(" Shot"));

    m.setFloatingDockRememberPosition(false);
    m.setFloatingDockRememberPosition(true);
    EXPECT_TRUE(stored().settings.floatingDockRememberPosition);
    EXPECT_EQ(stored().settings.floatingDockPosition, std::nullopt);

    m.stampSwitchAnimation(std::nullopt, SwitchSpeed::fast, std::nullopt);
    const AppSettings s = stored().settings;
    EXPECT_EQ(s.switchLook, SwitchLook::frost);
    EXPECT_EQ(s.switchIntensity, SwitchIntensity::strong);
    EXPECT_EQ(s.switchSpeed, SwitchSpeed::fast);
    AppSettings expected = s;
    SwitchLookSpec::stamp(SwitchLook::frost, SwitchSpeed::fast, SwitchIntensity::strong, expected);
    EXPECT_EQ(s, expected);
    EXPECT_EQ(changes, 7);
}

TEST_F(SettingsModelCore, PublishedFieldsAnnounceTheirChanges)
{
    SettingsModel &m = openWith({"Work"});
    int any = 0;
    int config = 0;
    QObject::connect(&m, &SettingsModel::changed, [&] { ++any; });
    QObject::connect(&m, &SettingsModel::configChanged, [&] { ++config; });

    // A view's binding replaces the published copy only.
    Config edited = m.config();
    edited.settings.followSpaces = true;
    m.setConfig(edited);
    EXPECT_TRUE(m.config().settings.followSpaces);
    EXPECT_FALSE(stored().settings.followSpaces);
    EXPECT_EQ(config, 1);

    m.setDeleteFailure(DeleteFailure{"Work", true, "gone"});
    m.setErrorMessage(std::nullopt);
    EXPECT_EQ(any, 2);

    // Unreadable: the fallback document.
    test::writeFile(paths.config(), "{ not json");
    m.reload();
    EXPECT_EQ(m.config(), Config::defaultDocument());
    EXPECT_EQ(m.config().activeWorkspace, Config::blankWorkspaceName);
    EXPECT_TRUE(m.config().workspaces.empty());
}
