#pragma once

#include "Install/InstallLocation.h"
#include "Shared/ClosingWindow.h"

#include <functional>
#include <memory>

namespace quorvane {

class MoveToApplicationsView;

// The floating prompt offering to move the application into the per-user install: a sheet
// panel 420 wide and 340 high, or as high as its texts' lines need, above normal windows,
// centred on the screen.
class MoveToApplicationsWindowController {
public:
    static constexpr int width = 420;
    static constexpr int height = 340;

    // onMove may throw (the prompt then shows why); onDecline runs when the user declines,
    // before the prompt closes.
    MoveToApplicationsWindowController(InstallLocation::Situation situation, const QString &sourceFolderName,
                                       std::function<void()> onMove, std::function<void()> onDecline);

    // Runs when the window closes; its owner releases the prompt there (nothing of it runs
    // after), and the application goes back to the accessory policy.
    std::function<void()> onClose;

    QWidget *window() const { return m_window.get(); }
    MoveToApplicationsView *view() const { return m_view; }
    InstallLocation::Situation situation() const { return m_situation; }

private:
    InstallLocation::Situation m_situation;
    WindowHandle m_window;
    MoveToApplicationsView *m_view;
};

} // namespace quorvane
