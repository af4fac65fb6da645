#include "Settings/SettingsWindowController.h"

#include <QCoreApplication>
#include <QPixmapCache>
#include <QTimer>
#include <QVBoxLayout>

namespace quorvane {

SettingsWindowController::SettingsWindowController(SettingsModel &model, const RootBuilder &makeRoot)
    : m_model(model)
    , m_window(new ClosingWindow(Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint))
{
    m_root = makeRoot ? makeRoot(model) : nullptr;
    if (!m_root)
        m_root = new QWidget;
    auto *layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_root);
    m_window->setWindowTitle(QCoreApplication::translate("SettingsWindowController", "Quorvane Settings"));
    m_window->setClosesOnEscape(true);
    m_window->resize(780, 480);
    m_window->centre();
    m_window->onClose = [this] {
        if (onClose)
            onClose();
        // Not from inside the native window's own close event: once it has returned, while this
        // controller lasts (the root goes with it; the window itself only later).
        QTimer::singleShot(0, m_root, [this] {
            if (m_window->isVisible())
                return;
            m_window->releaseNativeWindow();
            QPixmapCache::clear();
            if (onReleased)
                onReleased();
        });
    };
}

SettingsWindowController::~SettingsWindowController()
{
    delete m_root;
    m_root = nullptr;
}

void SettingsWindowController::showWindow()
{
    // A window the user minimised comes back as it was before (a second start asks for it).
    if (m_window->isMinimized())
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace quorvane
