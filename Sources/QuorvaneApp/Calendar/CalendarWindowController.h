#pragma once

#include "AppearanceMode.h"
#include "Shared/ClosingWindow.h"

#include <QObject>

#include <functional>
#include <memory>

namespace quorvane {

class ActivationPolicy;
class CleanupCalendarView;
class CalendarModel;

// The floating panel of the cleanup calendar: a title row with its close button over the month
// calendar and its day sidebar, in the configured look and accent. Its owner keeps one panel at
// a time and releases it when it closes (onClose), so the next one starts on the current month
// with nothing selected; the owner lets it go before the model. It leaves the activation policy
// alone.
class CalendarWindowController : public QObject {
public:
    static constexpr int width = 700;

    explicit CalendarWindowController(CalendarModel &model);
    // Brings the panel to the front; activates the application through activation when given.
    // from: the window it is opened from (the settings window), none from the menu.
    void show(ActivationPolicy *activation = nullptr, QWidget *from = nullptr);
    // Runs when the panel closes, from its own close handler: the owner releases the controller
    // there with deleteLater.
    std::function<void()> onClose;

    QWidget *window() const { return m_window.get(); }
    CleanupCalendarView *calendar() const { return m_calendar; }
    // The look in force: the configured one, "system" resolved by the application's theme.
    AppearanceMode appliedMode() const { return m_applied; }

    ~CalendarWindowController() override;

private:
    void restyle();

    CalendarModel &m_model;
    WindowHandle m_window;
    CleanupCalendarView *m_calendar = nullptr;
    AppearanceMode m_applied = AppearanceMode::system;
};

} // namespace quorvane
