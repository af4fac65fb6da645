#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QLabel;
class QWidget;

namespace quorvane {

// The views name their icons by symbol ("chevron.right", "exclamationmark.triangle.fill"). Each
// symbol is a monochrome icon of the icon set compiled into the application (":/symbols/NAME.svg"),
// drawn in a colour of the palette at the time it is painted, so it reads in light and dark and
// looks the same whatever icon theme the machine has. Every widget given an icon here keeps the
// symbol's name in its property "symbol".
class SymbolIcon {
public:
    static constexpr const char *property = "symbol";

    // The resource holding the symbol's icon.
    static QString resourcePath(const QString &symbol);
    // Whether the application carries an icon for the symbol.
    static bool known(const QString &symbol);
    // The symbols asked for so far that the application has no icon for: a defect, drawn as
    // nothing, which the tests look for.
    static QStringList unknownAsked();

    // The symbol in tint, or when tint is invalid in the application palette's text colour at paint
    // time (its disabled text for a disabled icon; warnings in the warning colour).
    static QIcon icon(const QString &symbol, const QColor &tint = {});
    // The symbol in the colour text takes on the palette's accent at paint time, for a button
    // filled with the accent.
    static QIcon iconOnAccent(const QString &symbol);
    // The symbol drawn in ink at side × side device-independent pixels for a screen of ratio.
    static QPixmap pixmap(const QString &symbol, int side, const QColor &ink, qreal ratio = 1.0);

    static void apply(QAbstractButton *button, const QString &symbol);
    // A label showing the symbol at size × size pixels in its own palette's foreground colour, kept
    // up to date when its palette or its foreground role changes.
    static QLabel *label(const QString &symbol, int size, QWidget *parent = nullptr);
};

} // namespace quorvane
