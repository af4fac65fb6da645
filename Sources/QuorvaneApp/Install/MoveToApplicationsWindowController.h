#pragma once

#include "Controller/ClosingWindow.h"
#include "Install/InstallLocation.h"

#include <functional>
#include <memory>

namespace quorvane {

// The prompt offering to move the application to the applications folder.
class MoveToApplicationsWindowController {
public:
    // onMove may throw; onDecline runs when the user declines.
    MoveToApplicationsWindowController(InstallLocation::Situation situation, std::function<void()> onMove,
                                       std::function<void()> onDecline);

    // The one open prompt; cleared when its window closes.
    static std::unique_ptr<MoveToApplicationsWindowController> shared;

    // Runs when the window closes, before shared is cleared; the application goes back to the
    // accessory policy there.
    std::function<void()> onClose;

    QWidget *window() const { return m_window.get(); }
    InstallLocation::Situation situation() const { return m_situation; }

private:
    InstallLocation::Situation m_situation;
    std::function<void()> m_onMove;
    std::function<void()> m_onDecline;
    WindowHandle m_window;
};

} // namespace quorvane
