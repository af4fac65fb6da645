#pragma once

#include "Controller/ClosingWindow.h"
#include "Settings/SettingsModel.h"

namespace quorvane {

// The one cleanup-calendar window of the process.
class CalendarWindowController {
public:
    // Creates the single calendar window for model on first use, else reuses it; shows it in
    // front with the keyboard focus. Leaves the activation policy alone.
    static void show(SettingsModel &model);
    // The single instance, none before the first show.
    static CalendarWindowController *shared();

    QWidget *window() const { return m_window.get(); }
    SettingsModel &model() const { return m_model; }

private:
    explicit CalendarWindowController(SettingsModel &model);

    SettingsModel &m_model;
    WindowHandle m_window;
};

} // namespace quorvane
