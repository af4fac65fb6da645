#include "Calendar/CalendarWindowController.h"

namespace quorvane {

namespace {
// Lives as long as the process once created.
CalendarWindowController *instance = nullptr;
} // namespace

CalendarWindowController::CalendarWindowController(SettingsModel &model)
    : m_model(model)
    , m_window(new ClosingWindow)
{
    // An empty window until the calendar's own views are built.
}

void CalendarWindowController::show(SettingsModel &model)
{
    if (!instance)
        instance = new CalendarWindowController(model);
    QWidget *window = instance->window();
    window->show();
    window->raise();
    window->activateWindow();
}

CalendarWindowController *CalendarWindowController::shared()
{
    return instance;
}

} // namespace quorvane
