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

// Looked up in /proc once and then followed: while the process found runs (told by a pidfd, a
// handle on that one process, without reading /proc), the same answer; once it has ended, or
// when none ran, looked up again, at most once every few seconds while none runs. Safe to call
// from any thread.
std::optional<DesktopHostProcess> runningDesktopHost();

// Looked up in /proc anew; none when no such process runs.
std::optional<DesktopHostProcess> findDesktopHostProcess();

// Forgets what runningDesktopHost() followed, so that the next call looks again (tests, and a
// session whose desktop changed under the same process).
void forgetDesktopHost();

// Waits until the process has ended (a zombie counts as ended), at most limitMs, sleeping on
// a pidfd rather than polling; true when it has ended.
bool waitForProcessEnd(qint64 pid, int limitMs);

// The XDG configuration folder: $XDG_CONFIG_HOME, else ~/.config.
QString configHome();

} // namespace quorvane
