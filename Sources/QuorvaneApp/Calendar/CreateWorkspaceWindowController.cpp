#include "Calendar/CreateWorkspaceWindowController.h"

#include "Calendar/NameField.h"
#include "Calendar/WorkspaceCreateSheet.h"
#include "Shared/Log.h"
#include "Shared/ScreenCoordinates.h"
#include "Shared/SheetBackdrop.h"
#include "Shared/Style.h"
#include "Shared/Theme.h"
#include "Windows/Dialogs.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quorvane {

CreateWorkspaceWindowController::CreateWorkspaceWindowController(CalendarModel &model, Dialogs &dialogs,
                                                                 const CompositorProbe *compositor)
    : m_model(model)
    , m_dialogs(dialogs)
    , m_window(new SheetPanelWindow(compositor))
{
    SheetPanelWindow *window = m_window.get();
    window->setWindowTitle(QCoreApplication::translate("CreateWorkspaceWindowController", "New desktop"));
    Theme::shared().apply(model.config().settings.appearance);

    auto *backdrop = new SheetBackdrop;
    backdrop->setCornerRadius(cornerRadius);
    backdrop->setStrokeOpacity(strokeOpacity);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(backdrop);
    auto *inner = new QVBoxLayout(backdrop);
    inner->setContentsMargins(0, 0, 0, 0);

    QPointer<SheetPanelWindow> weakWindow(window);
    m_sheet = new WorkspaceCreateSheet(model, [weakWindow] {
        if (weakWindow)
            weakWindow->close();
    });
    m_sheet->onRefused = [this](const QString &message) { presentRefusal(message); };
    inner->addWidget(m_sheet);
    // Sized to the form, and fitted again when the form grows or shrinks.
    m_sheet->setFixedWidth(width);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->activate();

    window->onClose = [this] {
        if (onClose)
            onClose();
    };
}

CreateWorkspaceWindowController::~CreateWorkspaceWindowController()
{
    if (m_sheet)
        m_sheet->onRefused = nullptr;
}

void CreateWorkspaceWindowController::showWindow(QWidget *from)
{
    m_window->show();
    m_window->setOpenedFrom(from);
    m_window->raise();
    m_window->activateWindow();
    m_sheet->nameField()->setFocus(Qt::ActiveWindowFocusReason);
}

void CreateWorkspaceWindowController::presentRefusal(const QString &message)
{
    qCCritical(Log::error()).noquote() << QStringLiteral("surfaced to the user: %1").arg(message);
    QPointer<CalendarModel> model(&m_model);
    m_dialogs.ask(m_window.get(), Question{message, {}, {{QCoreApplication::translate("CreateWorkspaceWindowController", "OK"), ButtonRole::normal}}},
                  [model](int) {
                      if (model)
                          model->setErrorMessage(std::nullopt);
                  });
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
