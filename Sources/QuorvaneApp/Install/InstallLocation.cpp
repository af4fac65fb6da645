#include "Install/InstallLocation.h"

#include "Controller/Log.h"
#include "Install/InstallError.h"
#include "LoginItem.h"
#include "NoReplaceMove.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace quorvane {

namespace {

QString standardised(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
}

bool liesInside(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && standardised(path).startsWith(standardised(folder) + QLatin1Char('/'));
}

bool onReadOnlyVolume(const QString &path)
{
    struct statvfs volume {};
    return ::statvfs(QFile::encodeName(path).constData(), &volume) == 0 && (volume.f_flag & ST_RDONLY);
}

void trashToAbsolute(const QString &path)
{
    // The Trash lives in the data home; without that folder the Trash would be put elsewhere.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile item(path);
    const QString name = QFileInfo(path).fileName();
    if (!item.moveToTrash())
        throw InstallError(QStringLiteral("\u201C%1\u201D couldn\u2019t be moved to the Trash (%2).").arg(name, item.errorString()));
    if (!QDir::isAbsolutePath(item.fileName()))
        throw InstallError(QStringLiteral("\u201C%1\u201D was not put into the Trash.").arg(name));
}

// An exclusive copy of a regular file with its mode, on the device before it counts.
int copyKeepingMode(const QString &from, const QString &to)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISREG(st.st_mode) ? errno : EOPNOTSUPP;
        ::close(in);
        return code;
    }
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int code = errno;
        ::close(in);
        return code;
    }
    int code = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            code = errno;
            break;
        }
        for (ssize_t done = 0; done < n && code == 0;) {
            const ssize_t written = ::write(out, buffer + done, size_t(n - done));
            if (written < 0 && errno != EINTR)
                code = errno;
            else if (written > 0)
                done += written;
        }
        if (code != 0)
            break;
    }
    if (code == 0 && ::fchmod(out, st.st_mode & 07777) != 0)
        code = errno;
    if (code == 0 && ::fsync(out) != 0)
        code = errno;
    ::close(in);
    if (::close(out) != 0 && code == 0)
        code = errno;
    if (code != 0)
        ::unlink(QFile::encodeName(to).constData());
    return code;
}

} // namespace

QString InstallLocation::applications(const QString &home)
{
    return QDir::cleanPath(home) + QStringLiteral("/.local");
}

QString InstallLocation::downloadsFolder(const QString &home)
{
    const QString folder = Paths::xdgUserFolder(home, QStringLiteral("XDG_DOWNLOAD_DIR"), QStringLiteral("Downloads"));
    return standardised(folder) == standardised(home) ? QString() : folder;
}

InstallLocation::Situation InstallLocation::situation(const AppInfo &info, const QString &home)
{
    if (info.identifier.isEmpty() || info.executablePath.isEmpty())
        return Situation::fine;
    if (liesInside(info.executablePath, applications(home)))
        return Situation::fine;
    if (liesInside(info.executablePath, downloadsFolder(home)))
        return Situation::inDownloads;
    return Situation::fine;
}

QString InstallLocation::sourceFolderName(const AppInfo &info)
{
    const QString bin = QFileInfo(info.executablePath).absolutePath();
    const QString prefix = QFileInfo(bin).absolutePath();
    return QFileInfo(QFileInfo(prefix).absolutePath()).fileName();
}

InstallLocation::Operations InstallLocation::Operations::standard()
{
    return Operations{trashToAbsolute, [](const QString &from, const QString &to) { return fileops::moveItem(from, to); },
                      copyKeepingMode, onReadOnlyVolume};
}

AppInfo InstallLocation::moveToApplications(const AppInfo &info, const QString &home, LoginItem *loginItem,
                                            const Operations &operations)
{
    if (info.executablePath.isEmpty() || info.desktopEntry.isEmpty())
        throw InstallError(QStringLiteral("Only an installed copy of Quorvane can be moved."));
    const QString prefix = applications(home);
    const QString bin = prefix + QStringLiteral("/bin");
    const QString entries = prefix + QStringLiteral("/share/applications");
    const QString executable = bin + QLatin1Char('/') + QFileInfo(info.executablePath).fileName();
    const QString entry = entries + QLatin1Char('/') + QFileInfo(info.desktopEntry).fileName();
    for (const QString &folder : {bin, entries}) {
        if (const int code = fileops::makeFolders(folder))
            throw InstallError(QStringLiteral("Couldn\u2019t create %1 (%2).").arg(folder, fileops::errorText(code)));
    }
    // What an older copy left there goes to the Trash, never overwritten.
    for (const QString &target : {executable, entry}) {
        if (fileops::exists(target))
            operations.trash(target);
    }
    const auto place = [&](const QString &from, const QString &to) {
        const bool readOnly = operations.readOnly(QFileInfo(from).absolutePath());
        const int code = readOnly ? operations.copy(from, to) : operations.move(from, to);
        if (code != 0)
            throw InstallError(QStringLiteral("Couldn\u2019t put %1 into %2 (%3).")
                                   .arg(QFileInfo(from).fileName(), QFileInfo(to).absolutePath(), fileops::errorText(code)));
    };
    place(info.executablePath, executable);
    // The login item starts the executable where it was: it goes now, not before.
    if (loginItem)
        loginItem->unregisterItem();
    place(info.desktopEntry, entry);
    return AppInfo::installed(executable, entry);
}

void InstallLocation::relaunch(const QString &executable, const std::function<void()> &terminate)
{
    QProcess process;
    process.setProgram(executable);
    if (!process.startDetached())
        qCCritical(Log::error()).noquote()
            << QStringLiteral("relaunch after relocation failed: %1").arg(process.errorString());
    if (terminate)
        terminate();
}

} // namespace quorvane
