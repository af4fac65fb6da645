#pragma once

#include "HotKeySpec.h"

#include <QKeyCombination>

#include <optional>

namespace quorvane {

// A stored shortcut in Qt's terms, and back. The stored key is a position on the US ANSI
// keyboard: it becomes the Qt key that position types on a US layout (keypad keys carry
// Qt::KeypadModifier, so that the keypad's digits stay apart from the main row's). Command is
// Meta, option Alt, control Ctrl, shift Shift; any other stored modifier bit is dropped. None
// for a key no Qt key names.
std::optional<QKeyCombination> keyCombination(const HotKeySpec &spec);
// The stored shortcut of a combination; none for a key outside the keyboard's table.
std::optional<HotKeySpec> hotKeySpec(QKeyCombination combination);

} // namespace quorvane
