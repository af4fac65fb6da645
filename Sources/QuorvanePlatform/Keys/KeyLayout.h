#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace quorvane {

// The characters of the keyboard layout in use.
class KeyLayout {
public:
    virtual ~KeyLayout() = default;
    // What the key of that virtual key code types without modifiers, as it stands in the
    // layout; none when it types no text (a dead key, a function key, a code outside the table).
    virtual std::optional<QString> characters(std::uint32_t virtualKey) const = 0;
    // What the key types with Shift, likewise; none as well where the layout does not tell.
    virtual std::optional<QString> shiftedCharacters(std::uint32_t) const { return std::nullopt; }
};

// The US layout, from the key-code table: the layout's stand-in without X11.
class UsKeyLayout final : public KeyLayout {
public:
    std::optional<QString> characters(std::uint32_t virtualKey) const override;
};

} // namespace quorvane
