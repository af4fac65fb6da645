#pragma once

#include <QAbstractButton>
#include <QColor>

namespace quorvane {

// A painted disc of one colour with a faint 1-point border inside; as a button it takes
// clicks and the keyboard, as a dot (clickable false) neither. A selected swatch shows a ring;
// a symbol may be drawn over the disc in its own colour.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT

public:
    ColorSwatch(const QColor &color, int diameter, bool clickable = true, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    void setSymbol(const QString &symbol, const QColor &glyph);
    QColor glyph() const { return m_glyph; }
    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    int m_diameter;
    bool m_selected = false;
    QString m_symbol;
    QColor m_glyph;
};

// The colour of a glyph drawn on the colour: black at 0.7 opacity over light colours (luma
// above 0.62), else white.
QColor glyphColor(const QColor &on);

} // namespace quorvane
