#pragma once

#include "EnumNames.h"

#include <QJsonObject>

namespace quorvane {

enum class FloatingDockMaterial {
    solid,
    glass,
    clearGlass
};
enum class FloatingDockAxis {
    horizontal,
    vertical
};
enum class FloatingDockSize {
    system,
    small,
    medium,
    large
};
// The screen corner that summons the dock; off: none.
enum class FloatingDockCorner {
    off,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight
};

template <>
struct EnumNames<FloatingDockMaterial> {
    static constexpr const char *names[] = {"solid", "glass", "clearGlass"};
};
template <>
struct EnumNames<FloatingDockAxis> {
    static constexpr const char *names[] = {"horizontal", "vertical"};
};
template <>
struct EnumNames<FloatingDockSize> {
    static constexpr const char *names[] = {"system", "small", "medium", "large"};
};
template <>
struct EnumNames<FloatingDockCorner> {
    static constexpr const char *names[] = {"off", "topLeft", "topRight", "bottomLeft", "bottomRight"};
};

// The dock's remembered position, normalised to the screen; no range check on reading.
struct FloatingDockPosition {
    double nx = 0;
    double ny = 0;

    bool operator==(const FloatingDockPosition &) const = default;

    static FloatingDockPosition fromJson(const QJsonObject &object); // both keys required
    QJsonObject toJson() const;
};

} // namespace quorvane
