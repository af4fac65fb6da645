#pragma once

#include "Dock/DockSurface.h"
#include "Dock/FloatingDockModel.h"
#include "Dock/FolderIconCache.h"

#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace quorvane {

// Where everything of the card goes, in the view's coordinates (origin at the top-left).
struct DockLayout {
    QSizeF size;
    double tileHeight = 0; // T
    double radius = 0;     // the card's corner radius
    double spacing = 0;    // between the card's children
    double tileWidth = 0;  // the common width inside a tile's padding
    double closeGlyph = 0;
    double arrowFont = 0;
    QSizeF arrowFrame;
    double cornerClosePadding = 0;
    QRectF close, firstArrow, secondArrow, divider, emptyNote;
    std::vector<std::pair<QString, QRectF>> tiles; // padded tile rectangles, in surface order

    static DockLayout compute(const FloatingDockModel &model,
                              const DockMetrics::Measure &measure = DockMetrics::semiboldWidth);
};

// The dock's card: optional controls (close and two flip arrows), a divider and one tile per
// desktop. A click on a tile that is not active asks for a switch; a press on the card's
// background hands the press on to move the window.
class FloatingDockView : public QWidget {
    Q_OBJECT

public:
    // icons: the dock's folder icons, kept by its owner.
    FloatingDockView(FloatingDockModel &model, FolderIconCache &icons, QWidget *parent = nullptr);

    std::function<void(const QString &name)> onSwitch;
    std::function<void(DockHalf target)> onFlip;
    std::function<void()> onClose;
    std::function<void()> onBackgroundPress;

    // Glass materials are translucent only where a compositing manager draws the screen.
    void setCompositing(bool compositing);
    const DockLayout &currentLayout() const { return m_layout; }
    QSize sizeHint() const override;

    QToolButton *closeButton() const { return m_close; }
    QToolButton *firstArrow() const { return m_first; }
    QToolButton *secondArrow() const { return m_second; }
    // The help text of the tile named so.
    static QString tileHelp(const DockSurface &surface);
    static QString arrowHelp(DockHalf target);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void relayout();
    void placeButton(QToolButton *button, const QRectF &rect, bool shown);
    std::optional<QString> tileAt(const QPointF &point) const;
    DockHalf firstTarget() const;
    DockHalf secondTarget() const;

    FloatingDockModel &m_model;
    FolderIconCache &m_icons;
    DockLayout m_layout;
    bool m_compositing = false;
    std::optional<QString> m_pressed;
    QToolButton *m_close;
    QToolButton *m_first;
    QToolButton *m_second;
};

} // namespace quorvane
