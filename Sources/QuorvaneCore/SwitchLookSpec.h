#pragma once

#include "SwitchEffectTypes.h"

#include <cstdint>
#include <optional>

namespace quorvane {

struct AppSettings;

// The table that turns the three choices of the settings (look, speed, intensity) into the
// low-level transition numbers of AppSettings. No instances: constants and functions only.
namespace SwitchLookSpec {

// Timings at speed normal, in milliseconds.
inline constexpr std::int64_t baseStartDelayMs = 280;
inline constexpr std::int64_t baseSweepDurationMs = 725;
inline constexpr std::int64_t baseFadeInMs = 260;
inline constexpr std::int64_t baseFadeOutMs = 500;
inline constexpr std::int64_t baseMinDurationMs = 1000;

// Scale of every timing: slow 1.35, normal 1.0, fast 0.7.
double factor(SwitchSpeed speed);
// Width of the sweeping band as a fraction of the screen: 0.2, 0.45, 0.72.
double bandFraction(SwitchIntensity intensity);
// Opacity of the cover; sweeps use 0.36, 0.5, 0.42, every other look 0.3, 0.45, 0.6.
double opacity(SwitchIntensity intensity, SwitchLook look);
// Tilt of the band in degrees for the four sweeps; none for the other looks.
std::optional<double> angle(SwitchLook look);
SwitchBlurStyle blurStyle(SwitchLook look);
SwitchTransition transition(SwitchLook look);

// Writes the chosen look, speed and intensity and every number derived from them into
// settings. The angle is left as it was for looks without one; moveGapMs and
// switchRevealHoldMs are never touched.
void stamp(SwitchLook look, SwitchSpeed speed, SwitchIntensity intensity, AppSettings &settings);

} // namespace SwitchLookSpec

} // namespace quorvane
