#pragma once

#include <QIcon>
#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace quorvane {

// The views name their icons by symbol ("chevron.right", "exclamationmark.triangle.fill").
// A symbol shows the icon theme's icon of the matching freedesktop name when the theme has
// one, else a simple drawing of the symbol in the widget's text colour. Every widget given an
// icon here keeps the symbol's name in its property "symbol".
class SymbolIcon {
public:
    static constexpr const char *property = "symbol";

    // The freedesktop icon name for a symbol; empty when none stands for it.
    static QString themeName(const QString &symbol);
    // The theme's icon, or the drawing.
    static QIcon icon(const QString &symbol);
    // The drawing alone: a few shapes (plus, minus, cross, check, chevrons, arrows, warning
    // triangle, folder, circled i and ?), other symbols as their first letter in a circle.
    static QIcon drawn(const QString &symbol);

    static void apply(QAbstractButton *button, const QString &symbol);
    // A label showing the symbol at size × size pixels.
    static QLabel *label(const QString &symbol, int size, QWidget *parent = nullptr);
};

} // namespace quorvane
