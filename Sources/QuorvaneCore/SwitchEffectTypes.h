#pragma once

#include "EnumNames.h"

namespace quorvane {

// The cover shown during a switch.
enum class SwitchTransition {
    none,
    blur,
    sweep
};
// The blur cover's material.
enum class SwitchBlurStyle {
    frost,
    soft,
    light,
    dark
};
// How icons are placed through the file manager when native positions are off.
enum class IconPlacement {
    settle,
    batch
};
// The transition as the user picks it: none, four sweeps by angle, three blurs by material.
enum class SwitchLook {
    none,
    vertical,
    horizontal,
    angledDown,
    angledUp,
    frost,
    soft,
    dark
};
enum class SwitchSpeed {
    slow,
    normal,
    fast
};
enum class SwitchIntensity {
    subtle,
    medium,
    strong
};
// The status glyph's animation on a switch.
enum class MenuBarAnimation {
    none,
    nudge,
    mirror
};

inline bool isSweep(SwitchLook look)
{
    return look == SwitchLook::vertical || look == SwitchLook::horizontal || look == SwitchLook::angledDown
        || look == SwitchLook::angledUp;
}

template <>
struct EnumNames<SwitchTransition> {
    static constexpr const char *names[] = {"none", "blur", "sweep"};
};
template <>
struct EnumNames<SwitchBlurStyle> {
    static constexpr const char *names[] = {"frost", "soft", "light", "dark"};
};
template <>
struct EnumNames<IconPlacement> {
    static constexpr const char *names[] = {"settle", "batch"};
};
template <>
struct EnumNames<SwitchLook> {
    static constexpr const char *names[] = {"none", "vertical", "horizontal", "angledDown", "angledUp", "frost", "soft", "dark"};
};
template <>
struct EnumNames<SwitchSpeed> {
    static constexpr const char *names[] = {"slow", "normal", "fast"};
};
template <>
struct EnumNames<SwitchIntensity> {
    static constexpr const char *names[] = {"subtle", "medium", "strong"};
};
template <>
struct EnumNames<MenuBarAnimation> {
    static constexpr const char *names[] = {"none", "nudge", "mirror"};
};

} // namespace quorvane
