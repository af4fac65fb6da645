#pragma once

class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace quorvane {

// The shared field and button looks, as style sheets that follow the palette (they are
// written again whenever the palette of the styled widget changes).

// A pill-shaped field of a fixed height that takes the whole width offered: 12 pixels from
// each end of the capsule to the text, a faint fill and a 1-pixel edge inside the field's
// bounds that stands 3:1 against the window (as every capsule's does).
void capsuleField(QLineEdit *field, int height);

// Every push button inside host, now or later, becomes a capsule (corner radius half its
// height); checked buttons show the highlight.
void capsuleButtons(QWidget *host);
inline constexpr int capsuleButtonHeight = 26;

// One segment of a segmented control: the chosen segment is filled with the accent, its text in
// white or black, whichever reads on it.
void accentSegment(QToolButton *segment);

// Marks the one call to action of a form: inside a capsuleButtons host it is filled with the
// palette's highlight (the accent where the form sets one).
void prominentCTA(QPushButton *button);

} // namespace quorvane
