#include "Calendar/CreateWorkspaceWindowController.h"
#include "Settings/SettingsWindowController.h"

#include "Fakes/ScriptedDialogs.h"
#include "FileStateStore.h"
#include "Settings/SettingsModel.h"
#include "TestEnvironment.h"

#include <QDialog>
#include <QLineEdit>
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

// Closed, the window gives back its native window once the close has returned, and keeps its
// widgets; shown again at once, or while a window of its own shows, it keeps its native window.
TEST(WindowControllers, AClosedSettingsWindowGivesBackItsNativeWindowAndKeepsItsWidgets)
{
    test::TempHome home;
    const Paths paths = Paths::forHome(home.path());
    FileStateStore store(paths.config(), paths.journal());
    SettingsModel model(store, paths);
    SettingsWindowController settings(model, [](SettingsModel &) { return new QLineEdit(QStringLiteral("kept")); });
    int released = 0;
    settings.onReleased = [&] { ++released; };
    QWidget *root = settings.root();
    settings.showWindow();
    ASSERT_NE(settings.window()->windowHandle(), nullptr);
    settings.window()->close();
    EXPECT_EQ(released, 0) << "not from inside the close";
    QCoreApplication::processEvents();
    EXPECT_EQ(released, 1);
    EXPECT_EQ(settings.window()->windowHandle(), nullptr);
    EXPECT_EQ(settings.root(), root);
    EXPECT_EQ(qobject_cast<QLineEdit *>(root)->text(), QStringLiteral("kept"));

    settings.showWindow();
    EXPECT_TRUE(settings.window()->isVisible());
    EXPECT_NE(settings.window()->windowHandle(), nullptr);
    EXPECT_TRUE(root->isVisible());
    // Closed and shown again before the event loop turns: it stays as it is.
    settings.window()->close();
    settings.showWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(released, 1);
    EXPECT_NE(settings.window()->windowHandle(), nullptr);

    // A dialog of its own still shows: the native window it depends on stays.
    QDialog dialog(settings.window());
    dialog.show();
    settings.window()->close();
    QCoreApplication::processEvents();
    EXPECT_NE(settings.window()->windowHandle(), nullptr);
    EXPECT_TRUE(dialog.isVisible());
}
