#include "Install/MoveToApplicationsWindowController.h"

#include "Install/MoveToApplicationsView.h"
#include "Shared/SheetPanelWindow.h"
#include "Windows/WindowLevel.h"

#include <QCoreApplication>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane {

MoveToApplicationsWindowController::MoveToApplicationsWindowController(InstallLocation::Situation situation,
                                                                       const QString &sourceFolderName,
                                                                       std::function<void()> onMove,
                                                                       std::function<void()> onDecline)
    : m_situation(situation)
    , m_window(new SheetPanelWindow)
{
    auto *panel = static_cast<SheetPanelWindow *>(m_window.get());
    panel->setWindowTitle(QCoreApplication::translate("MoveToApplicationsWindowController", "Move Quorvane to your applications folder?"));
    applyWindowLevel(panel, WindowLevel::floating, WindowBehaviour{false, true, false});
    panel->resize(width, height);
    // Declining closes the prompt; the window outlives any controller that let it go.
    QPointer<QWidget> window(panel);
    m_view = new MoveToApplicationsView(
        sourceFolderName, std::move(onMove),
        [window, onDecline = std::move(onDecline)] {
            if (onDecline)
                onDecline();
            if (window)
                window->close();
        },
        panel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setLeastHeight(height);
    panel->resize(width, std::max(height, m_view->minimumHeight()));
    panel->centre();
    m_window->onClose = [this] {
        // A copy: the owner may release this controller from inside it.
        if (const std::function<void()> closed = onClose)
            closed();
    };
}

} // namespace quorvane
