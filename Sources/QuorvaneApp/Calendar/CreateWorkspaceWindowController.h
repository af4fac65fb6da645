#pragma once

#include "Calendar/CalendarModel.h"
#include "Shared/SheetPanelWindow.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <memory>

namespace quorvane {

class CompositorProbe;
class Dialogs;
class WorkspaceCreateSheet;

// Owns the new-desktop window: a borderless floating panel of 380 × 560 named "New desktop",
// holding the new-desktop form on the sheet backdrop (rounded, with a faint stroke, where a
// compositor lets the corners show through). A desktop the model refuses is explained in an
// alert over the window, which stays open as the user left it. Each request builds a fresh
// controller, so the form always starts empty.
class CreateWorkspaceWindowController {
public:
    // The window is this wide and as tall as its form needs (the form scrolls past a limit).
    static constexpr int width = 380;
    static constexpr qreal cornerRadius = 22;
    static constexpr qreal strokeOpacity = 0.6;

    CreateWorkspaceWindowController(CalendarModel &model, Dialogs &dialogs, const CompositorProbe *compositor = nullptr);
    ~CreateWorkspaceWindowController();

    // Runs when the window closes; the application goes back to the accessory policy there.
    std::function<void()> onClose;

    SheetPanelWindow *window() const { return m_window.get(); }
    WorkspaceCreateSheet *sheet() const { return m_sheet; }
    CalendarModel &model() const { return m_model; }
    // Shows the window in front with the keyboard focus in the name field.
    // from: the window it is opened from (the settings window), none from the menu.
    void showWindow(QWidget *from = nullptr);

    // Puts window near the top-right corner of the screen under the pointer (else the primary
    // screen, else the first one).
    static void placeNearMenuBar(QWidget *window);
    // The window's origin in y-up coordinates: x = max(minX, maxX − width − 140),
    // y = max(minY, maxY − height − 90) of the screen's visible frame.
    static QPointF nearMenuBarOrigin(const QRectF &visibleFrame, const QSizeF &windowSize);

private:
    void presentRefusal(const QString &message);

    CalendarModel &m_model;
    Dialogs &m_dialogs;
    std::unique_ptr<SheetPanelWindow, DeleteLater> m_window;
    WorkspaceCreateSheet *m_sheet = nullptr;
};

} // namespace quorvane
