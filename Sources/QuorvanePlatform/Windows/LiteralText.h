#pragma once

#include <QString>

class QLabel;
class QMessageBox;

namespace quorvane {

// Texts that carry a name or any other data are shown exactly as written: never as markup,
// never with an "&" taken for a shortcut mark.

// A button, menu item or check box title: each "&" doubled, so the widget shows it.
QString literalTitle(const QString &title);
// A tool tip shown as written. Qt shows a tip that looks like markup as rich text; such a
// tip is escaped into markup that reads as the text itself, line breaks kept.
QString literalToolTip(const QString &tip);
// A label that shows its text as plain text, whatever it holds.
QLabel *plainLabel(QLabel *label);
// A message box whose text and informative text are shown as plain text; call it after the
// informative text is set (the box makes that label on demand).
void showPlainTexts(QMessageBox &box);

} // namespace quorvane
