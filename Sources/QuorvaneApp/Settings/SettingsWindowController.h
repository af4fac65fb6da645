#pragma once

#include "Controller/ClosingWindow.h"
#include "Settings/SettingsModel.h"

#include <functional>

namespace quorvane {

// Owns the settings window: "Quorvane Settings", 780 × 480, centred, kept when closed.
class SettingsWindowController {
public:
    explicit SettingsWindowController(SettingsModel &model);

    // Runs when the window closes; the application goes back to the accessory policy there.
    std::function<void()> onClose;

    QWidget *window() const { return m_window.get(); }
    SettingsModel &model() const { return m_model; }
    // Shows the window, brings it to the front and gives it the keyboard focus.
    void showWindow();

private:
    SettingsModel &m_model;
    WindowHandle m_window;
};

} // namespace quorvane
