#pragma once

#include <QJsonObject>

#include <cstdint>

namespace quorvane {

// A global shortcut: a virtual key code and the window system's modifier-flag bits
// (shift 0x20000, control 0x40000, option 0x80000, command 0x100000).
struct HotKeySpec {
    static constexpr std::uint32_t shift = 0x20000;
    static constexpr std::uint32_t control = 0x40000;
    static constexpr std::uint32_t option = 0x80000;
    static constexpr std::uint32_t command = 0x100000;
    static constexpr std::uint32_t modifierMask = 0x1E0000;

    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;

    bool operator==(const HotKeySpec &) const = default;

    // Both keys required; the stored modifiers are not masked.
    static HotKeySpec fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace quorvane
