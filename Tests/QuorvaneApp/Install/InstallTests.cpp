#include "Install/InstallLocation.h"
#include "Install/MoveToApplicationsWindowController.h"
#include "IoError.h"

#include <gtest/gtest.h>

using namespace quorvane;

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
