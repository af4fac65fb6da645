#include "Calendar/CalendarWindowController.h"
#include "Calendar/CreateWorkspaceWindowController.h"
#include "Install/MoveToApplicationsWindowController.h"
#include "Settings/SettingsWindowController.h"
#include "IoError.h"

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
    SettingsModel model;
    CreateWorkspaceWindowController sheet(model);
    QWidget *window = sheet.window();
    EXPECT_EQ(window->size(), QSize(380, 560));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));

    CreateWorkspaceWindowController::placeNearMenuBar(window);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // In top-down terms: 140 points in from the right edge, 90 down from the top, unless the
    // window does not fit, in which case it keeps to the left edge and the bottom edge.
    const int left = std::max(area.left(), area.x() + area.width() - 380 - 140);
    const int top = area.y() + std::min(area.height() - 560, 90);
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(left, top));
}

TEST(WindowControllers, ClosingTheSettingsOrTheSheetWindowReportsIt)
{
    SettingsModel model;
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
    settings.window()->close();

    CreateWorkspaceWindowController sheet(model);
    sheet.onClose = [&] { ++closed; };
    sheet.showWindow();
    sheet.window()->close();
    EXPECT_EQ(closed, 3);
}

TEST(CalendarWindowController, OneWindowPerProcess)
{
    SettingsModel model;
    CalendarWindowController::show(model);
    CalendarWindowController *first = CalendarWindowController::shared();
    ASSERT_NE(first, nullptr);
    QWidget *window = first->window();
    EXPECT_TRUE(window->isVisible());
    window->close();
    CalendarWindowController::show(model);
    EXPECT_EQ(CalendarWindowController::shared(), first);
    EXPECT_EQ(first->window(), window);
    EXPECT_TRUE(window->isVisible());
    window->close();
}

TEST(MoveToApplicationsWindowController, ClosingReportsAndClearsTheSharedPrompt)
{
    int moves = 0, declines = 0, closes = 0;
    MoveToApplicationsWindowController::shared = std::make_unique<MoveToApplicationsWindowController>(
        InstallLocation::Situation::inDownloads, [&] { ++moves; }, [&] { ++declines; });
    auto *prompt = MoveToApplicationsWindowController::shared.get();
    prompt->onClose = [&] {
        ++closes;
        EXPECT_EQ(MoveToApplicationsWindowController::shared.get(), prompt); // still held here
    };
    prompt->window()->show();
    prompt->window()->close();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(MoveToApplicationsWindowController::shared, nullptr);
    EXPECT_EQ(moves + declines, 0);
}

TEST(InstallLocation, MovingIsRefusedWithAFileSystemError)
{
    EXPECT_EQ(toString(InstallLocation::situation()), "fine");
    EXPECT_THROW(InstallLocation::moveToApplications(), IoError);
}
