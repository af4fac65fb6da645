#pragma once

#include "Windows/AlertPresenter.h"

class QMessageBox;

namespace quorvane {

// Gives a message box the look of a Linux alert, once its texts are set: the application's own
// icon for an ordinary alert (none when the application has none) and the platform's error sign
// only for a critical one; the application's name as the window title when it has none; and a
// width at which the window manager shows the whole title and a short message or informative
// sentence stands on one line instead of being squeezed under a short heading.
void lookLikeAlert(QMessageBox &box, AlertStyle style);

// The width the alert's content asks for at least (the title bar's whole title, the texts'
// lines up to a readable measure), in device-independent pixels.
int alertContentWidth(const QMessageBox &box);

} // namespace quorvane
