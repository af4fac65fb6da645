#pragma once

#include <QWidget>

namespace quorvane {

// The backdrop of the floating sheets: an opaque fill of the palette's window colour with
// rounded corners (outside them the translucent window shows what lies behind) and an optional
// separator stroke inside its border. In a window that is not translucent (no compositing
// manager) it paints a square fill instead, so no black corners show.
class SheetBackdrop : public QWidget {
public:
    // Nothing behind the fill shows through it: a sheet over another window reads alone, and
    // its own texts' contrast is the palette's, whatever lies behind.
    static constexpr qreal fillOpacity = 1.0;

    explicit SheetBackdrop(QWidget *parent = nullptr);

    void setCornerRadius(qreal radius);
    qreal cornerRadius() const { return m_radius; }
    // The separator stroke's opacity; 0 draws none.
    void setStrokeOpacity(qreal opacity);
    qreal strokeOpacity() const { return m_strokeOpacity; }

    // Whether the fill shows what lies behind the window: its window is translucent.
    bool seeThrough() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius = 0;
    qreal m_strokeOpacity = 0;
};

} // namespace quorvane
