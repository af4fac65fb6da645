#pragma once

#include <QKeyCombination>
#include <QString>

#include <optional>

namespace quorvane {

// Shortcuts as the desktops' settings write them ("<Control><Alt>2", "<Super>KP_Add").
namespace gtkaccel {

// The accelerator of a combination: its modifiers (<Shift>, <Control>, <Alt>, <Super>), then the
// key's X keysym name; none for a key without one.
std::optional<QString> accelerator(QKeyCombination combination);
// The same accelerator however it is spelled (<Ctrl>, <Primary> and <Control>; <Mod1> and
// <Alt>; <Mod4> and <Super>; modifiers in any order; the key's case): an empty text for an
// unset one ("", "disabled").
QString normalized(const QString &accelerator);

} // namespace gtkaccel

} // namespace quorvane
