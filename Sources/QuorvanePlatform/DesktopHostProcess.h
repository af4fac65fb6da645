#pragma once

#include <QByteArrayList>
#include <QString>

#include <optional>

namespace quorvane {

// The process of this user on this display that draws the desktop: xfdesktop, pcmanfm's
// desktop, Nemo's desktop, Caja drawing the desktop, or GNOME's desktop-icons extension (its
// desktop program, run by gjs).
struct DesktopHostProcess {
    QString name;    // "xfdesktop", "pcmanfm", "nemo-desktop", "caja" or "ding"
    QString profile; // pcmanfm's profile ("default" unless its command line names one)
    qint64 pid = 0;
    QByteArrayList arguments; // its command line, the program first
};

// Looked up in /proc anew at each call; none when no such process runs.
std::optional<DesktopHostProcess> runningDesktopHost();

// The XDG configuration folder: $XDG_CONFIG_HOME, else ~/.config.
QString configHome();

} // namespace quorvane
