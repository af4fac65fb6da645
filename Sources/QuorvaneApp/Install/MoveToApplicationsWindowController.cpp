#include "Install/MoveToApplicationsWindowController.h"

namespace quorvane {

std::unique_ptr<MoveToApplicationsWindowController> MoveToApplicationsWindowController::shared;

MoveToApplicationsWindowController::MoveToApplicationsWindowController(InstallLocation::Situation situation,
                                                                       std::function<void()> onMove,
                                                                       std::function<void()> onDecline)
    : m_situation(situation)
    , m_onMove(std::move(onMove))
    , m_onDecline(std::move(onDecline))
    , m_window(new ClosingWindow)
{
    // The prompt's text and buttons are not built yet, so neither onMove nor onDecline runs.
    m_window->onClose = [this] {
        if (onClose)
            onClose();
        if (shared.get() == this)
            shared.reset(); // last: releases this controller
    };
}

} // namespace quorvane
