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
    quint64 startTime = 0;    // when it started, in clock ticks since boot; 0 when not read
};

// Looked up in /proc once and then followed (DesktopHostFollower): while the process found runs
// (told by a pidfd, a handle on that one process, without reading /proc), the same answer; once
// it has ended, looked up again; while none runs, looked up at most every half minute. Safe to
// call from any thread.
std::optional<DesktopHostProcess> runningDesktopHost();

// Looked up in /proc anew; none when no such process runs.
std::optional<DesktopHostProcess> findDesktopHostProcess();

// The desktop host that this application has just started again (pcmanfm's desktop after its
// store was written), followed by runningDesktopHost() from now on without a look in /proc.
void followDesktopHost(DesktopHostProcess process);

// Forgets what runningDesktopHost() followed, so that the next call looks again (tests, and a
// session whose desktop changed under the same process).
void forgetDesktopHost();

// Waits until the process has ended (a zombie counts as ended), at most limitMs, sleeping on
// a pidfd rather than polling; true when it has ended.
bool waitForProcessEnd(qint64 pid, int limitMs);

// The XDG configuration folder: $XDG_CONFIG_HOME, else ~/.config.
QString configHome();

} // namespace quorvane
