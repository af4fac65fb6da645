#include "SwitchLookSpec.h"

#include "AppSettings.h"

#include <cmath>

namespace quorvane::SwitchLookSpec {

namespace {

// base × f in double precision, rounded half away from zero.
std::int64_t scaled(std::int64_t base, double f)
{
    return std::llround(double(base) * f);
}

} // namespace

double factor(SwitchSpeed speed)
{
    switch (speed) {
    case SwitchSpeed::slow:
        return 1.35;
    case SwitchSpeed::normal:
        return 1.0;
    case SwitchSpeed::fast:
        return 0.7;
    }
    return 1.0;
}

double bandFraction(SwitchIntensity intensity)
{
    switch (intensity) {
    case SwitchIntensity::subtle:
        return 0.2;
    case SwitchIntensity::medium:
        return 0.45;
    case SwitchIntensity::strong:
        return 0.72;
    }
    return 0.45;
}

double opacity(SwitchIntensity intensity, SwitchLook look)
{
    if (isSweep(look)) {
        switch (intensity) {
        case SwitchIntensity::subtle:
            return 0.36;
        case SwitchIntensity::medium:
            return 0.5;
        case SwitchIntensity::strong:
            return 0.42;
        }
        return 0.5;
    }
    switch (intensity) {
    case SwitchIntensity::subtle:
        return 0.3;
    case SwitchIntensity::medium:
        return 0.45;
    case SwitchIntensity::strong:
        return 0.6;
    }
    return 0.45;
}

std::optional<double> angle(SwitchLook look)
{
    switch (look) {
    case SwitchLook::vertical:
        return 0.0;
    case SwitchLook::horizontal:
        return 90.0;
    case SwitchLook::angledDown:
        return -20.0;
    case SwitchLook::angledUp:
        return 20.0;
    case SwitchLook::none:
    case SwitchLook::frost:
    case SwitchLook::soft:
    case SwitchLook::dark:
        break;
    }
    return std::nullopt;
}

SwitchBlurStyle blurStyle(SwitchLook look)
{
    switch (look) {
    case SwitchLook::soft:
        return SwitchBlurStyle::soft;
    case SwitchLook::dark:
        return SwitchBlurStyle::dark;
    default:
        return SwitchBlurStyle::frost;
    }
}

SwitchTransition transition(SwitchLook look)
{
    if (look == SwitchLook::none)
        return SwitchTransition::none;
    return isSweep(look) ? SwitchTransition::sweep : SwitchTransition::blur;
}

void stamp(SwitchLook look, SwitchSpeed speed, SwitchIntensity intensity, AppSettings &settings)
{
    const double f = factor(speed);
    settings.switchLook = look;
    settings.switchSpeed = speed;
    settings.switchIntensity = intensity;
    settings.switchTransition = transition(look);
    settings.switchBlurStyle = blurStyle(look);
    settings.switchBlurOpacity = opacity(intensity, look);
    if (auto a = angle(look))
        settings.sweepAngleDegrees = *a;
    settings.sweepBandFraction = bandFraction(intensity);
    settings.sweepStartDelayMs = scaled(baseStartDelayMs, f);
    settings.sweepDurationMs = scaled(baseSweepDurationMs, f);
    settings.switchFadeInMs = scaled(baseFadeInMs, f);
    settings.switchFadeOutMs = scaled(baseFadeOutMs, f);
    settings.switchMinDurationMs = scaled(baseMinDurationMs, f);
}

} // namespace quorvane::SwitchLookSpec
