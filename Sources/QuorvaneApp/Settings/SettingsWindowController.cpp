#include "Settings/SettingsWindowController.h"

namespace quorvane {

SettingsWindowController::SettingsWindowController(SettingsModel &model)
    : m_model(model)
    , m_window(new ClosingWindow(Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint))
{
    // The window is empty until the settings views are built.
    m_window->setWindowTitle(QStringLiteral("Quorvane Settings"));
    m_window->resize(780, 480);
    m_window->centre();
    m_window->onClose = [this] {
        if (onClose)
            onClose();
    };
}

void SettingsWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace quorvane
