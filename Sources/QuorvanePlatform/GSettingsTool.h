#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::gsettings {

// The session's colour-scheme key, the one desktop setting this application reads and writes.
inline constexpr char interfaceSchema[] = "org.gnome.desktop.interface";
inline constexpr char colorSchemeKey[] = "color-scheme";

struct Result {
    bool ok = false;
    QString output; // standard output, trimmed
    QString error;  // the tool's error text, or why it could not run
};

// Runs the gsettings tool with the arguments as a child process, blocking for at most five
// seconds without serving events. A missing tool, a missing schema or key, a non-zero exit and
// a child that does not finish in time are failures.
Result run(const QStringList &arguments);

} // namespace quorvane::gsettings
