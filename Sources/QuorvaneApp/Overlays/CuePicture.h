#pragma once

#include "DesktopCue.h"
#include "DesktopHosts/BackgroundHost.h"

#include <QImage>
#include <QSize>

#include <optional>

namespace quorvane {

// The picture a desktop host shows for a cue below the icons: the user's own wallpaper filling
// the screen (scaled to cover it, centred), black where there is none, with the cue laid over it
// at its opacity (a colour, or a picture stretched over the screen on both axes).
QImage composeCuePicture(const std::optional<BackgroundFill> &wallpaper, const DesktopCue::Fill &cue, double opacity,
                         QSize screen);

} // namespace quorvane
