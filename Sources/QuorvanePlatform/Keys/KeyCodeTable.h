#pragma once

#include <QKeyCombination>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace quorvane::keycodes {

// One key of the US ANSI keyboard: its virtual key code (what a HotKeySpec stores), the X11
// keycode at the same position (evdev code + 8) and what it types on a US layout without
// modifiers (null where it types no text).
struct Key {
    std::uint32_t virtualKey;
    std::uint8_t x11;
    const char16_t *us;
};

// Every key the application can grab, record or name, in no particular order.
std::span<const Key> all();
// The X11 keycode of a virtual key code; none for a code outside the table.
std::optional<std::uint8_t> x11KeyCode(std::uint32_t virtualKey);
// The virtual key code of an X11 keycode; none for a keycode outside the table.
std::optional<std::uint32_t> virtualKeyCode(std::uint32_t x11KeyCode);
// What the key types on a US layout without modifiers; none for a key that types no text.
std::optional<QString> usCharacter(std::uint32_t virtualKey);
// The X11 keycode of the position that types a Qt key on a US layout (the keypad's with
// Qt::KeypadModifier); none for a key outside the table.
std::optional<std::uint8_t> x11KeyCode(QKeyCombination combination);

} // namespace quorvane::keycodes
