#pragma once

#include "Work/ToolProcess.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane::gsettings {

// The session's colour-scheme key.
inline constexpr char interfaceSchema[] = "org.gnome.desktop.interface";
inline constexpr char colorSchemeKey[] = "color-scheme";

using Result = ToolResult;

// Runs the gsettings tool with the arguments as a child process, blocking for at most five
// seconds without serving events. A missing tool, a missing schema or key, a non-zero exit and
// a child that does not finish in time are failures.
Result run(const QStringList &arguments);

// The text inside a printed string value ('Adwaita' gives Adwaita); none for anything else,
// an escaped text included.
std::optional<QString> unquoted(const QString &value);
// A text as a string value the tool reads.
QString quoted(const QString &text);
// The texts of a printed string value or array of strings ("'a'", "['a', \"b\"]", "@as []"),
// escapes read; none for anything else.
std::optional<QStringList> strings(const QString &value);
// Texts as an array of strings the tool reads.
QString quotedList(const QStringList &texts);

} // namespace quorvane::gsettings
