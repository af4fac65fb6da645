#pragma once

#include "AppearanceMode.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <initializer_list>
#include <optional>
#include <vector>

class QLabel;
class QWidget;

namespace quorvane {

// Colour strings are "#RRGGBB" in sRGB. Reading trims "#" and blanks (U+0020 only) at both
// ends, upper-cases the rest, which must then be exactly six characters; those are read from
// their start as one hexadecimal number (an optional "0X" first), up to the first character
// that is not a hexadecimal digit. A string that gives no digit cannot be read.
std::optional<QColor> optionalColorFromHex(const QString &hex);
// The same reading; a string that cannot be read gives the default accent colour.
QColor colorFromHex(const QString &hex);
// "#RRGGBB", upper case, each component rounded half away from zero; an invalid colour
// writes as the fixed orange "#FF9500".
QString hexString(const QColor &color);

struct AccentPreset {
    QString name;
    QString hex;
};

// The tones of texts that warn, report a failure or confirm.
enum class StatusTone {
    warning,
    error,
    success
};

namespace Style {
// Ochre (the default accent), Slate, Rose and Sage, in that order.
const std::vector<AccentPreset> &accentPresets();
// The faint line between areas and around fields: the palette's text at low opacity.
QColor separatorColor(const QPalette &palette);
// Whether the palette is a dark one (light text on a dark window).
bool isDark(const QPalette &palette);
// Texts and symbols that warn, report a failure or confirm, readable on the palette's window and
// fields (at least 4.5:1).
QColor warningColor(const QPalette &palette);
QColor errorColor(const QPalette &palette);
QColor successColor(const QPalette &palette);
// Gives a label (or a symbol) the tone's colour in the look in force, and again whenever the look
// changes; none gives it back its ordinary text colour.
void setStatusTone(QWidget *widget, std::optional<StatusTone> tone);
// The contrast ratio of two opaque colours, from 1 (equal) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);
// White or black, whichever reads at least 4.5:1 on background (white when both do).
QColor textOn(const QColor &background);
// The colour of the keyboard focus ring: the highlight, drawn towards the text colour until it
// stands at least 3:1 against both the window and the fields.
QColor focusColor(const QPalette &palette);
// The edge of a control (a field, a slider's thumb): the palette's mid tone, drawn towards the
// text colour until it stands at least 3:1 against both the window and the fields.
QColor edgeColor(const QPalette &palette);
// The room between an icon button's icon and its text.
inline constexpr int iconTextGap = 6;
// color drawn towards toward until it stands at least ratio against each of backgrounds (toward
// itself when nothing less does).
QColor readableOn(const QColor &color, const QColor &toward, std::initializer_list<QColor> backgrounds, double ratio);
} // namespace Style

// The fixed light and dark looks.
QPalette lightPalette();
QPalette darkPalette();

// Gives window the light or dark palette, or for system clears the window's own palette so it
// follows the application's. Nothing happens when the window already has the target look.
void applyAppearance(QWidget *window, AppearanceMode mode);
// The look last given to window: light, dark, or system when it has none of its own.
AppearanceMode appliedAppearance(const QWidget *window);

// A form section's header: the title as given (no upper-casing), 14 points, semibold.
QLabel *makeSectionHeader(const QString &title, QWidget *parent = nullptr);
// A form's explanatory note: plain, wrapping text in the secondary colour.
QLabel *makeNote(const QString &text, QWidget *parent = nullptr);

} // namespace quorvane
