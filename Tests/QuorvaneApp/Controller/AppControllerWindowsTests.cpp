#include "Calendar/CalendarWindowController.h"
#include "Calendar/CreateWorkspaceWindowController.h"
#include "Controller/ControllerHarness.h"
#include "Settings/SettingsWindowController.h"

#include <QAction>
#include <QWidget>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct OwnWindows : ControllerHarness {
    using Call = RecordingActivationPolicy::Call;
};

bool hasShortcut(QWidget *window, const QKeySequence &keys)
{
    for (QAction *action : window->actions()) {
        if (action->shortcut() == keys)
            return true;
    }
    return false;
}

} // namespace

TEST_F(OwnWindows, OpeningMakesTheApplicationRegularAndClosingAnAccessoryAgain)
{
    AppController controller(environment());
    controller.windows().openSettings();
    EXPECT_EQ(activation.calls, (std::vector<Call>{Call::regular, Call::activate}));
    QWidget *window = controller.windows().settingsWindow();
    ASSERT_NE(window, nullptr);
    // The main menu's shortcuts live in the application's own windows, once each.
    EXPECT_TRUE(hasShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    const auto actionCount = window->actions().size();
    controller.windows().openSettings();
    EXPECT_EQ(window->actions().size(), actionCount);

    window->close();
    EXPECT_EQ(activation.mode(), ActivationPolicy::Mode::accessory);

    activation.calls.clear();
    controller.windows().newWorkspace();
    EXPECT_EQ(activation.calls, (std::vector<Call>{Call::regular, Call::activate}));
}

TEST_F(OwnWindows, ClosingSettingsWhileTheCalendarIsOpenStillMakesAnAccessory)
{
    AppController controller(environment());
    controller.windows().openSettings();
    controller.windows().openCalendar(); // leaves the policy alone
    ASSERT_NE(controller.windows().calendarWindow(), nullptr);
    QWidget *calendar = controller.windows().calendarWindow()->window();
    EXPECT_TRUE(calendar->isVisible());
    activation.calls.clear();
    controller.windows().settingsWindow()->close();
    EXPECT_EQ(activation.calls, std::vector<Call>{Call::accessory});
    EXPECT_TRUE(calendar->isVisible());
    calendar->close(); // the windows let the closed panel go
    EXPECT_EQ(controller.windows().calendarWindow(), nullptr);
}
