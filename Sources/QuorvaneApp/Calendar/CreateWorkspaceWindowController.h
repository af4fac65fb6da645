#pragma once

#include "Controller/ClosingWindow.h"
#include "Settings/SettingsModel.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>

namespace quorvane {

// Owns the new-desktop sheet: a borderless floating window of 380 × 560, kept when closed.
class CreateWorkspaceWindowController {
public:
    static constexpr int width = 380;
    static constexpr int height = 560;

    explicit CreateWorkspaceWindowController(SettingsModel &model);

    // Runs when the window closes; the application goes back to the accessory policy there.
    std::function<void()> onClose;

    QWidget *window() const { return m_window.get(); }
    SettingsModel &model() const { return m_model; }
    void showWindow();

    // Puts window near the top-right corner of the screen under the pointer (else the primary
    // screen, else the first one).
    static void placeNearMenuBar(QWidget *window);
    // The window's origin in y-up coordinates: x = max(minX, maxX − width − 140),
    // y = max(minY, maxY − height − 90) of the screen's visible frame.
    static QPointF nearMenuBarOrigin(const QRectF &visibleFrame, const QSizeF &windowSize);

private:
    SettingsModel &m_model;
    WindowHandle m_window;
};

} // namespace quorvane
