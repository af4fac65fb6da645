#include "Controller/DropMove.h"

#include "Location.h"
#include "Shared/Log.h"
#include "SurfaceError.h"

#include <QFile>

#include <cerrno>

namespace quorvane {

bool moveDroppedItem(FileSystemSurface &files, const QString &name, const QString &workspace,
                     const QString &copyRecords, const fileops::CopyHooks &hooks)
{
    try {
        files.move(name, Location::desktop(), Location::workspace(workspace));
        return true;
    } catch (const SurfaceError &error) {
        if (error.code() != EXDEV)
            return false;
    } catch (const std::exception &error) {
        qCWarning(Log::swap()) << "a dropped item stays on the Desktop:" << name << error.what();
        return false;
    }
    // Another file system: the surface created the folder already when it was missing.
    const QByteArray folder = QFile::encodeName(files.workspacesRoot() + QLatin1Char('/') + workspace);
    const QByteArray source = QFile::encodeName(files.desktopPath() + QLatin1Char('/') + name);
    if (fileops::makeFolders(folder) != 0)
        return false;
    return fileops::copyThenRemove(source, folder + '/' + QFile::encodeName(name), QFile::encodeName(copyRecords), hooks)
        == 0;
}

} // namespace quorvane
