#include "DesktopHostProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

namespace quorvane {

std::optional<DesktopHostProcess> runningDesktopHost()
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

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : configured;
}

} // namespace quorvane
