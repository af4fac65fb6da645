#include "DesktopHostProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorvane {

std::optional<DesktopHostProcess> findDesktopHostProcess()
{
    const QByteArray display = qgetenv("DISPLAY");
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        if (pid.toInt() <= 0)
            continue;
        const QString base = QStringLiteral("/proc/") + pid;
        if (QFileInfo(base).ownerId() != ::getuid())
            continue;
        QFile comm(base + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QByteArray name = comm.readAll().trimmed();
        if (name != "xfdesktop" && name != "pcmanfm" && name != "nemo-desktop" && name != "caja" && name != "gjs"
            && name != "gjs-console")
            continue;
        QFile cmdline(base + QStringLiteral("/cmdline"));
        QFile environ(base + QStringLiteral("/environ"));
        if (!cmdline.open(QIODevice::ReadOnly) || !environ.open(QIODevice::ReadOnly))
            continue;
        QByteArrayList arguments = cmdline.readAll().split('\0');
        if (!arguments.isEmpty() && arguments.last().isEmpty())
            arguments.removeLast();
        const QList<QByteArray> environment = environ.readAll().split('\0');
        // Other sessions of the same user, on other displays, have desktops of their own.
        if (!display.isEmpty() && !environment.contains("DISPLAY=" + display))
            continue;
        if (name == "xfdesktop" || name == "nemo-desktop")
            return DesktopHostProcess{QString::fromLatin1(name), {}, pid.toLongLong(), arguments};
        if (name == "caja") {
            // Caja draws the desktop unless told not to; a window-only instance is no host.
            if (arguments.contains("--no-desktop"))
                continue;
            return DesktopHostProcess{QStringLiteral("caja"), {}, pid.toLongLong(), arguments};
        }
        if (name.startsWith("gjs")) {
            // Of the scripts gjs runs, only the extension's desktop program draws icons.
            const bool ding = std::any_of(arguments.begin(), arguments.end(),
                                          [](const QByteArray &argument) { return argument.contains("/ding@rastersoft.com/"); });
            if (!ding)
                continue;
            return DesktopHostProcess{QStringLiteral("ding"), {}, pid.toLongLong(), arguments};
        }
        if (!arguments.contains("--desktop") && !arguments.contains("-d"))
            continue;
        QString profile = QStringLiteral("default");
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            if (arguments[i].startsWith("--profile="))
                profile = QString::fromLocal8Bit(arguments[i].mid(10));
            else if ((arguments[i] == "--profile" || arguments[i] == "-p") && i + 1 < arguments.size())
                profile = QString::fromLocal8Bit(arguments[i + 1]);
        }
        return DesktopHostProcess{QStringLiteral("pcmanfm"), profile, pid.toLongLong(), arguments};
    }
    return std::nullopt;
}

namespace {

// A handle on one process: readable once the process has ended. Minus one where the kernel
// has none (before Linux 5.3) or the process is gone already.
int openPidfd(qint64 pid)
{
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
#else
    Q_UNUSED(pid);
    return -1;
#endif
}

bool ended(int pidfd, int limitMs)
{
    pollfd handle{pidfd, POLLIN, 0};
    int ready = 0;
    do
        ready = ::poll(&handle, 1, limitMs);
    while (ready < 0 && errno == EINTR);
    return ready != 0;
}

// How long an answer of "none runs" stands before /proc is read again.
constexpr qint64 noneStandsMs = 5000;

struct Followed {
    std::mutex mutex;
    std::optional<DesktopHostProcess> process;
    int pidfd = -1;
    QElapsedTimer lookedAt; // when "none" was last found

    void forget()
    {
        if (pidfd >= 0)
            ::close(pidfd);
        pidfd = -1;
        process.reset();
        lookedAt.invalidate();
    }
};

Followed &followed()
{
    static Followed state;
    return state;
}

// The process's own check where no pidfd could be had: whether its /proc entry stands and
// does not belong to a zombie.
bool stillRuns(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && text.size() > close + 2 && text[close + 2] != 'Z' && text[close + 2] != 'X';
}

} // namespace

std::optional<DesktopHostProcess> runningDesktopHost()
{
    Followed &state = followed();
    const std::lock_guard lock(state.mutex);
    if (state.process) {
        const bool gone = state.pidfd >= 0 ? ended(state.pidfd, 0) : !stillRuns(state.process->pid);
        if (!gone)
            return state.process;
        state.forget();
    } else if (state.lookedAt.isValid() && !state.lookedAt.hasExpired(noneStandsMs)) {
        return std::nullopt;
    }
    state.process = findDesktopHostProcess();
    if (!state.process) {
        state.lookedAt.start();
        return std::nullopt;
    }
    state.pidfd = openPidfd(state.process->pid);
    if (state.pidfd >= 0)
        ::fcntl(state.pidfd, F_SETFD, FD_CLOEXEC);
    // A process that ended between the look and the handle: looked for again next time.
    if ((state.pidfd >= 0 && ended(state.pidfd, 0)) || (state.pidfd < 0 && !stillRuns(state.process->pid))) {
        state.forget();
        return std::nullopt;
    }
    return state.process;
}

void forgetDesktopHost()
{
    Followed &state = followed();
    const std::lock_guard lock(state.mutex);
    state.forget();
}

bool waitForProcessEnd(qint64 pid, int limitMs)
{
    const int pidfd = openPidfd(pid);
    if (pidfd < 0) {
        // No handle: the process is gone already, or the kernel offers none; then its entry
        // is looked at now and then.
        QDeadlineTimer deadline(limitMs);
        while (stillRuns(pid)) {
            if (deadline.hasExpired())
                return false;
            ::usleep(20000);
        }
        return true;
    }
    const bool done = ended(pidfd, limitMs);
    ::close(pidfd);
    return done;
}

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : configured;
}

} // namespace quorvane
