#pragma once

#include "HotKeySpec.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace quorvane {

class KeyLayout;

// "Ctrl+Alt+Shift+Super+", each name and its "+" present when its bit (control 1<<18,
// option 1<<19, shift 1<<17, command 1<<20) is set in mask.
QString modifierGlyphs(std::uint32_t mask);

// A virtual key code's display name: the special key's fixed name, else the characters the key
// types, else "Key " and the decimal code.
QString keyName(std::uint32_t keyCode);

// What the key types on the current layout without modifiers, upper-cased; none when it types
// no text or the code cannot be a key (above 65535).
std::optional<QString> printableKeyName(std::uint32_t keyCode);

// A shortcut as the user reads it: the modifier names followed directly by the key's name
// ("Ctrl+Alt+D", "Super+Space").
QString shortcutText(const HotKeySpec &spec);

// The layout that names ordinary keys from now on; none: the US layout.
void useKeyLayout(const KeyLayout *layout);

} // namespace quorvane
