#include "Calendar/CreateWorkspaceWindowController.h"

#include "Fakes/ScriptedDialogs.h"
#include "FileStateStore.h"
#include "Settings/SettingsModel.h"
#include "TestEnvironment.h"
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace quorvane;

TEST(NearMenuBarOrigin, RightOfCentreBelowTheTopOrPinnedToTheFrame)
{
    struct Case {
        QRectF frame;
        QSizeF size;
        QPointF origin;
    } cases[] = {
        {{0, 0, 1440, 875}, {380, 560}, {920, 225}},
        {{1440, -200, 1920, 1055}, {380, 560}, {2840, 205}}, // a second screen, below the first
        {{0, 0, 500, 600}, {380, 560}, {0, 0}},              // too small: pinned to the frame's corner
        {{100, 50, 600, 400}, {380, 560}, {180, 50}},        // fits across, not down
    };
    for (const Case &c : cases)
        EXPECT_EQ(CreateWorkspaceWindowController::nearMenuBarOrigin(c.frame, c.size), c.origin) << c.frame.x();
}

TEST(CreateWorkspaceWindowController, PlacedNearTheTopRightOfTheAvailableArea)
{
    test::TempHome home;
    const Paths paths = Paths::forHome(home.path());
    FileStateStore store(paths.config(), paths.journal());
    SettingsModel model(store, paths);
    test::ScriptedDialogs dialogs;
    CreateWorkspaceWindowController sheet(model, dialogs);
    QWidget *window = sheet.window();
    EXPECT_EQ(window->width(), 380);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));

    CreateWorkspaceWindowController::placeNearMenuBar(window);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // In top-down terms: 140 points in from the right edge, 90 down from the top, unless the
    // window does not fit, in which case it keeps to the left edge and the bottom edge.
    const int left = std::max(area.left(), area.x() + area.width() - 380 - 140);
    const int top = area.y() + std::min(area.height() - 560, 90);
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(left, top));
}
