#include "FileSystemSurface.h"

#include "NoReplaceMove.h"
#include "Paths.h"
#include "SurfaceError.h"
#include "SwapError.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

QString describe(const QByteArray &path)
{
    return QFile::decodeName(path);
}

QString systemText(int code)
{
    return fileops::errorText(code);
}

// Where an item goes, as the user knows the place.
QString placeName(const Location &location)
{
    return location.isDesktop() ? QStringLiteral("the Desktop")
                                : QStringLiteral("the desktop \u201C%1\u201D").arg(location.name());
}

using fileops::makeFolders;

} // namespace

FileSystemSurface::FileSystemSurface(const QString &desktop, const QString &workspacesRoot)
    : m_desktop(desktop)
    , m_workspacesRoot(workspacesRoot)
    , m_nativeDesktop(QFile::encodeName(desktop))
    , m_nativeRoot(QFile::encodeName(workspacesRoot))
{
}

std::optional<QByteArray> FileSystemSurface::folderOf(const Location &location) const
{
    if (location.isDesktop())
        return m_nativeDesktop;
    if (!Location::isSafeName(location.name()))
        return std::nullopt;
    return m_nativeRoot + '/' + location.name().toUtf8();
}

bool FileSystemSurface::sameVolume()
{
    struct stat desk {};
    struct stat root {};
    if (::stat(QFile::encodeName(m_desktop).constData(), &desk) != 0)
        return false;
    if (::stat(QFile::encodeName(m_workspacesRoot).constData(), &root) != 0)
        return false;
    return desk.st_dev == root.st_dev;
}

namespace {

QStringList listed(const char *folder)
{
    DIR *dir = ::opendir(folder);
    if (!dir)
        return {};
    std::vector<std::string> names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.empty() || name.front() == '.')
            continue;
        if (!QByteArrayView(name.data(), qsizetype(name.size())).isValidUtf8())
            continue;
        names.emplace_back(name);
    }
    // A listing cut short by a read error is not the folder's contents: none is safer than part.
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0)
        return {};
    // std::string compares bytes as unsigned characters.
    std::sort(names.begin(), names.end());
    QStringList result;
    result.reserve(qsizetype(names.size()));
    for (const std::string &name : names)
        result.append(QString::fromUtf8(name.data(), qsizetype(name.size())));
    return result;
}

} // namespace

QStringList FileSystemSurface::items(const Location &at)
{
    const auto folder = folderOf(at);
    if (!folder)
        return {};
    return listed(folder->constData());
}

QStringList FileSystemSurface::listFolder(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return listed(QFile::encodeName(folder).constData());
}

void FileSystemSurface::move(const QString &name, const Location &from, const Location &to)
{
    if (!Location::isSafeName(name))
        throw SurfaceError(EINVAL, QStringLiteral("refused to move an item named \"%1\": not a usable file name").arg(name));
    const auto source = folderOf(from);
    const auto destination = folderOf(to);
    if (!source || !destination)
        throw SurfaceError(EINVAL, QStringLiteral("refused to move \"%1\": a desktop name is not a usable folder name").arg(name));
    const QByteArray component = '/' + name.toUtf8();
    const QByteArray sourcePath = *source + component;
    const QByteArray destinationPath = *destination + component;

    int code = fileops::renameNoReplace(sourcePath, destinationPath);
    if (code == 0)
        return;
    // The destination folder may be missing: create it with its parents and try once more.
    struct stat st {};
    if (code == ENOENT && ::stat(destination->constData(), &st) != 0) {
        if (const int created = makeFolders(*destination))
            throw SurfaceError(created,
                               QStringLiteral("cannot create the folder \"%1\": %2").arg(describe(*destination), systemText(created)),
                               QStringLiteral("Quorvane couldn't make the folder of %1 to move \u201C%2\u201D into it: %3.")
                                   .arg(placeName(to), name, systemText(created)));
        code = fileops::renameNoReplace(sourcePath, destinationPath);
        if (code == 0)
            return;
    }
    throw SurfaceError(code,
                       QStringLiteral("cannot move \"%1\" to \"%2\": %3")
                           .arg(describe(sourcePath), describe(destinationPath), systemText(code)),
                       QStringLiteral("Quorvane couldn't move \u201C%1\u201D from %2 to %3: %4.")
                           .arg(name, placeName(from), placeName(to), systemText(code)));
}

std::optional<IconPosition> FileSystemSurface::readPosition(const QString &)
{
    return std::nullopt;
}

IconPositions FileSystemSurface::readPositions(const QStringList &)
{
    return {};
}

void FileSystemSurface::writePosition(const IconPosition &, const QString &)
{
}

// No file manager on this platform keeps its icon layout in a file of the folder: a
// ".DS_Store" is a hidden entry like any other and stays where it is.
void FileSystemSurface::carryPositions(const Location &, const Location &, const QStringList &)
{
}

void FileSystemSurface::checkFolders(const QList<Location> &folders)
{
    struct stat desk {};
    if (::stat(QFile::encodeName(m_desktop).constData(), &desk) != 0)
        throw SwapError::desktopMissing();
    const QString home = QFileInfo(m_workspacesRoot).absolutePath();
    for (const Location &at : folders) {
        if (at.isDesktop())
            continue;
        const auto folder = folderOf(at);
        if (!folder)
            throw SwapError::unknownWorkspace(at.name());
        if (!Paths::isBoundedFolder(QFile::decodeName(*folder), home, m_desktop, m_workspacesRoot))
            throw SwapError::folderOutOfBounds(at.name());
        struct stat st {};
        if (::stat(folder->constData(), &st) == 0) {
            // Something other than a folder in its place (a file) would stop this switch, and
            // every replay of it, at its first item.
            if (!S_ISDIR(st.st_mode))
                throw SwapError::folderOutOfBounds(at.name());
        } else if (::stat(QFile::encodeName(m_workspacesRoot).constData(), &st) != 0) {
            // A folder that is not there yet is created inside the desktops folder.
            continue;
        }
        if (st.st_dev != desk.st_dev)
            throw SwapError::crossVolumeStore();
    }
}

} // namespace quorvane
