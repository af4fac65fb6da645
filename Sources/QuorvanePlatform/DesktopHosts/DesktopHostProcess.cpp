#include "DesktopHosts/DesktopHostProcess.h"

#include "DesktopHosts/DesktopHostFollower.h"
#include "DesktopHosts/HostProcessTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorvane {

namespace {

// The first process of this user on this display that draws the desktop, its start time not
// read yet.
std::optional<DesktopHostProcess> walkProc()
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

// A handle on one process: readable once the process has ended. Minus one where the kernel
// has none (before Linux 5.3) or the process is gone already.
int openPidfd(qint64 pid)
{
#ifdef SYS_pidfd_open
    const int handle = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (handle >= 0)
        ::fcntl(handle, F_SETFD, FD_CLOEXEC);
    return handle;
#else
    Q_UNUSED(pid);
    errno = ENOSYS;
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

// The fields of /proc/<pid>/stat after the program's name, the state first; none when the
// entry is gone.
std::optional<QByteArrayList> statFields(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    return text.mid(close + 2).split(' ');
}

// The process's own check where no pidfd could be had: whether its /proc entry stands and
// does not belong to a zombie.
bool stillRuns(qint64 pid)
{
    const auto fields = statFields(pid);
    return fields && !fields->isEmpty() && fields->first() != "Z" && fields->first() != "X";
}

// How long an answer of "none runs" stands before /proc is walked again.
constexpr qint64 noneStandsMs = 30000;

DesktopHostFollower &sessionFollower()
{
    static ProcHostProcessTable table;
    static DesktopHostFollower follower(table, noneStandsMs, [] {
        static const QElapsedTimer clock = [] {
            QElapsedTimer started;
            started.start();
            return started;
        }();
        return clock.elapsed();
    });
    return follower;
}

} // namespace

std::optional<DesktopHostProcess> findDesktopHostProcess()
{
    auto found = walkProc();
    if (!found)
        return std::nullopt;
    const auto started = ProcHostProcessTable().startTime(found->pid);
    if (!started)
        return std::nullopt; // ended since
    found->startTime = *started;
    return found;
}

std::optional<quint64> ProcHostProcessTable::startTime(qint64 pid)
{
    // The state is the first field after the name, the start time the twentieth.
    const auto fields = statFields(pid);
    if (!fields || fields->size() < 20 || fields->first() == "Z" || fields->first() == "X")
        return std::nullopt;
    bool ok = false;
    const quint64 started = fields->at(19).toULongLong(&ok);
    return ok ? std::optional<quint64>(started) : std::nullopt;
}

int ProcHostProcessTable::endHandle(qint64 pid)
{
    return openPidfd(pid);
}

std::optional<DesktopHostProcess> runningDesktopHost()
{
    return sessionFollower().host();
}

void followDesktopHost(DesktopHostProcess process)
{
    sessionFollower().follow(std::move(process));
}

void forgetDesktopHost()
{
    sessionFollower().forget();
}

bool waitForProcessEnd(qint64 pid, int limitMs)
{
    const int pidfd = openPidfd(pid);
    if (pidfd < 0 && errno == ESRCH)
        return true; // gone already, collected by its parent
    if (pidfd < 0) {
        // No handle: the kernel offers none; then its entry is looked at now and then.
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
