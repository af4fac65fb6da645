#pragma once

#include <QWidget>

namespace quorvane {

// The backdrop of the floating sheets: a slightly translucent fill of the palette's window
// colour with rounded corners and an optional separator stroke inside its border. In a window
// that is not translucent (no compositing manager) it paints an opaque, square fill instead,
// so no black corners show.
class SheetBackdrop : public QWidget {
public:
    // Translucent enough to soften what lies behind, never enough for text behind to read
    // through: black text on white behind the fill differs from the white by under 1.1:1.
    static constexpr qreal fillOpacity = 0.985;

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
