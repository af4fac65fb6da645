#pragma once

#include "AppearanceMode.h"
#include "Shared/ClosingWindow.h"

#include <QObject>

#include <memory>

namespace quorvane {

class ActivationPolicy;
class CleanupCalendarView;
class CalendarModel;

// The floating panel of the cleanup calendar: a title row with its close button over the month
// calendar and its day sidebar, in the configured look and accent. One panel at a time; it is
// released when it closes, so the next one starts on the current month with nothing selected.
// It leaves the activation policy alone.
class CalendarWindowController : public QObject {
public:
    static constexpr int width = 700;

    // Opens the panel over model, or brings the open one (with the model it was made with) to
    // the front; activates the application through activation when given.
    static void show(CalendarModel &model, ActivationPolicy *activation = nullptr);
    // The open panel's controller, none while no panel is open.
    static CalendarWindowController *shared();

    QWidget *window() const { return m_window.get(); }
    CleanupCalendarView *calendar() const { return m_calendar; }
    // The look in force: the configured one, "system" resolved by the application's theme.
    AppearanceMode appliedMode() const { return m_applied; }

    ~CalendarWindowController() override;

private:
    explicit CalendarWindowController(CalendarModel &model);
    void restyle();

    CalendarModel &m_model;
    WindowHandle m_window;
    CleanupCalendarView *m_calendar = nullptr;
    AppearanceMode m_applied = AppearanceMode::system;
};

} // namespace quorvane
