#pragma once

#include "Settings/SettingsModel.h"
#include "Shared/ClosingWindow.h"

#include <functional>

namespace quorvane {

// Owns the settings window: "Quorvane Settings", 780 × 480, centred, kept when closed. The
// window hosts one root widget, made by the builder it is given for the model (an empty widget
// without one). The title shows: the window system draws the title bar.
class SettingsWindowController {
public:
    using RootBuilder = std::function<QWidget *(SettingsModel &)>;

    explicit SettingsWindowController(SettingsModel &model, const RootBuilder &makeRoot = {});
    // The root goes at once, while what it uses (the model, the scheduler) is still there; the
    // window itself goes later.
    ~SettingsWindowController();
    SettingsWindowController(const SettingsWindowController &) = delete;
    SettingsWindowController &operator=(const SettingsWindowController &) = delete;

    // Runs when the window closes; the application goes back to the accessory policy there.
    std::function<void()> onClose;
    // Runs once the closed window has given back its native window, the image it was drawn
    // into and the pictures cached for its drawing, from the event loop after onClose.
    std::function<void()> onReleased;

    QWidget *window() const { return m_window.get(); }
    QWidget *root() const { return m_root; }
    SettingsModel &model() const { return m_model; }
    // Shows the window, brings it to the front and gives it the keyboard focus.
    void showWindow();

private:
    SettingsModel &m_model;
    WindowHandle m_window;
    QWidget *m_root = nullptr;
};

} // namespace quorvane
