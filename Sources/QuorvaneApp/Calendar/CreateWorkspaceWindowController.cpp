#include "Calendar/CreateWorkspaceWindowController.h"

#include "Controller/ScreenCoordinates.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace quorvane {

CreateWorkspaceWindowController::CreateWorkspaceWindowController(SettingsModel &model)
    : m_model(model)
    , m_window(new ClosingWindow(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint))
{
    // The new-desktop form is not built yet: the sheet is an empty transparent window.
    m_window->setAttribute(Qt::WA_TranslucentBackground);
    m_window->setFixedSize(width, height);
    m_window->onClose = [this] {
        if (onClose)
            onClose();
    };
}

void CreateWorkspaceWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

QPointF CreateWorkspaceWindowController::nearMenuBarOrigin(const QRectF &visibleFrame, const QSizeF &windowSize)
{
    const qreal minX = visibleFrame.x();
    const qreal minY = visibleFrame.y();
    const qreal maxX = visibleFrame.x() + visibleFrame.width();
    const qreal maxY = visibleFrame.y() + visibleFrame.height();
    return QPointF(std::max(minX, maxX - windowSize.width() - 140), std::max(minY, maxY - windowSize.height() - 90));
}

void CreateWorkspaceWindowController::placeNearMenuBar(QWidget *window)
{
    const QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen && !QGuiApplication::screens().isEmpty())
        screen = QGuiApplication::screens().first();
    if (!screen)
        return; // no screen to place it on, nor to centre it in
    const qreal axis = primaryScreenBottom();
    const QSizeF size = window->frameGeometry().size();
    const QRectF visible = flippedRect(QRectF(screen->availableGeometry()), axis);
    const QPointF origin = nearMenuBarOrigin(visible, size);
    const QRectF placed = flippedRect(QRectF(origin, size), axis);
    window->move(std::lround(placed.x()), std::lround(placed.y()));
}

} // namespace quorvane
