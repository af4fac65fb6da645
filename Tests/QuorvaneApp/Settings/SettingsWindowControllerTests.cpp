#include "Calendar/CreateWorkspaceWindowController.h"
#include "Settings/SettingsWindowController.h"

#include "Fakes/ScriptedDialogs.h"
#include "FileStateStore.h"
#include "Settings/SettingsModel.h"
#include "TestEnvironment.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

TEST(WindowControllers, ClosingTheSettingsOrTheSheetWindowReportsIt)
{
    test::TempHome home;
    const Paths paths = Paths::forHome(home.path());
    FileStateStore store(paths.config(), paths.journal());
    SettingsModel model(store, paths);
    SettingsWindowController settings(model);
    EXPECT_EQ(settings.window()->windowTitle(), "Quorvane Settings");
    EXPECT_EQ(settings.window()->size(), QSize(780, 480));
    int closed = 0;
    bool visibleWhenReported = true;
    settings.onClose = [&] {
        ++closed;
        visibleWhenReported = settings.window()->isVisible();
    };
    settings.showWindow();
    EXPECT_TRUE(settings.window()->isVisible());
    settings.window()->close();
    EXPECT_EQ(closed, 1);
    // Already hidden when the owner hears of it, so a policy change cannot map it again.
    EXPECT_FALSE(visibleWhenReported);
    EXPECT_FALSE(settings.window()->isVisible());
    settings.showWindow(); // kept when closed: the same window shows again
    EXPECT_TRUE(settings.window()->isVisible());
    // Escape closes it, wherever the focus is.
    QTest::keyClick(settings.window(), Qt::Key_Escape);
    EXPECT_EQ(closed, 2);
    EXPECT_FALSE(settings.window()->isVisible());

    test::ScriptedDialogs dialogs;
    CreateWorkspaceWindowController sheet(model, dialogs);
    sheet.onClose = [&] { ++closed; };
    sheet.showWindow();
    sheet.window()->close();
    EXPECT_EQ(closed, 3);
}

// Minimised by the user, then asked for again (a second start): it comes back.
TEST(WindowControllers, AMinimisedSettingsWindowComesBackWhenAskedFor)
{
    test::TempHome home;
    const Paths paths = Paths::forHome(home.path());
    FileStateStore store(paths.config(), paths.journal());
    SettingsModel model(store, paths);
    SettingsWindowController settings(model);
    settings.showWindow();
    settings.window()->showMinimized();
    ASSERT_TRUE(settings.window()->isMinimized());
    settings.showWindow();
    EXPECT_FALSE(settings.window()->isMinimized());
    EXPECT_TRUE(settings.window()->isVisible());
}
