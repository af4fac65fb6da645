#include "Install/InstallLocation.h"

#include "Files/LinuxFileOperations.h"
#include "Install/InstallError.h"
#include "Install/LoginItem.h"
#include "NoReplaceMove.h"
#include "Paths.h"
#include "Shared/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <memory>

#include <sys/statvfs.h>

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

void trashToAbsolute(FileOperations &files, const QString &path)
{
    const FileOperations::TrashResult trashed = files.moveToTrash(path);
    if (!trashed.trashedPath)
        throw InstallError(QCoreApplication::translate("InstallLocation", "\u201C%1\u201D couldn\u2019t be moved to the Trash (%2).")
                               .arg(QFileInfo(path).fileName(), trashed.reason));
}

} // namespace

const QString InstallLocation::packageName = QStringLiteral("quorvane");

bool InstallLocation::isPackaged(const AppInfo &info)
{
    if (info.executablePath.isEmpty())
        return false;
    // A folder that is a link (/bin on a merged /usr, one in a home folder) counts where it leads.
    const QFileInfo executable(info.executablePath);
    const QString path = standardised(executable.absolutePath()) + QLatin1Char('/') + executable.fileName();
    return path.startsWith(QLatin1String("/usr/")) && !path.startsWith(QLatin1String("/usr/local/"));
}

QString InstallLocation::packageRemovalCommand()
{
    return QStringLiteral("sudo apt remove ") + packageName;
}

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
    // The package manager owns that copy and updates it: it is where it belongs.
    if (isPackaged(info))
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

InstallLocation::Operations InstallLocation::Operations::standard(const QString &copyRecords)
{
    const auto files = std::make_shared<LinuxFileOperations>(copyRecords);
    return Operations{[files](const QString &path) { trashToAbsolute(*files, path); },
                      [files](const QString &from, const QString &to) { return files->moveItem(from, to); },
                      [files](const QString &from, const QString &to) { return files->copyExclusive(from, to); },
                      onReadOnlyVolume};
}

AppInfo InstallLocation::moveToApplications(const AppInfo &info, const QString &home, LoginItem *loginItem,
                                            const Operations &operations)
{
    if (info.executablePath.isEmpty() || info.desktopEntry.isEmpty())
        throw InstallError(QCoreApplication::translate("InstallLocation", "Only an installed copy of Quorvane can be moved."));
    const QString prefix = applications(home);
    const QString bin = prefix + QStringLiteral("/bin");
    const QString entries = prefix + QStringLiteral("/share/applications");
    const QString executable = bin + QLatin1Char('/') + QFileInfo(info.executablePath).fileName();
    const QString entry = entries + QLatin1Char('/') + QFileInfo(info.desktopEntry).fileName();
    for (const QString &folder : {bin, entries}) {
        if (const int code = fileops::makeFolders(folder))
            throw InstallError(QCoreApplication::translate("InstallLocation", "Couldn\u2019t create %1 (%2).").arg(folder, fileops::errorText(code)));
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
            throw InstallError(QCoreApplication::translate("InstallLocation", "Couldn\u2019t put %1 into %2 (%3).")
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
