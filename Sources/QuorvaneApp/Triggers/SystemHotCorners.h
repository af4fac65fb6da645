#pragma once

#include "FloatingDockTypes.h"
#include "Session/PreferenceReader.h"

#include <QString>

#include <optional>

namespace quorvane {

// The session's own corner actions, read from the dock preferences, so the settings can warn
// when the dock's summoning corner is taken already. Reads only; every call reads afresh.
namespace SystemHotCorners {

// Values are those stored under a corner's key.
enum class Action {
    none = 1,
    missionControl = 2,
    applicationWindows = 3,
    desktop = 4,
    screenSaver = 5,
    disableScreenSaver = 6,
    displaySleep = 10,
    launchpad = 11,
    notificationCentre = 12,
    lockScreen = 13,
    quickNote = 14,
};

inline const QString domain = QStringLiteral("com.apple.dock");

bool requiresModifier(const PreferenceReader &preferences, FloatingDockCorner corner);
Action action(const PreferenceReader &preferences, FloatingDockCorner corner);
// The name of the action occupying the corner without a modifier key; none when it is free.
std::optional<QString> occupant(const PreferenceReader &preferences, FloatingDockCorner corner);

} // namespace SystemHotCorners

} // namespace quorvane
