#pragma once

#include "DesktopSurface.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvane {

// The plain file-system surface: lists and moves items, compares the volumes of the Desktop and
// the desktops folder, and checks the folders a switch works on. It knows nothing of icon
// positions: reads are empty, writes and the layout-file carry do nothing.
//
// A move never replaces anything: it is one renameat2(RENAME_NOREPLACE) call, so an item of the
// same name at the destination makes it fail and leaves both items where they are. Listings
// leave out names beginning with "." and names that are not valid UTF-8, and are sorted by the
// names' bytes. A name that is not a safe path component is never used on disk.
class FileSystemSurface : public DesktopSurface {
public:
    // The Desktop folder and the desktops folder, both fixed for the object's life.
    FileSystemSurface(const QString &desktop, const QString &workspacesRoot);

    QString desktopPath() const { return m_desktop; }
    QString workspacesRoot() const { return m_workspacesRoot; }

    // True when both folders can be read and lie on the same device.
    bool sameVolume() override;
    // Never throws: a folder that cannot be listed, or a location whose name is not safe,
    // lists as empty.
    QStringList items(const Location &at) override;
    // The same listing of any folder by its path; empty when it cannot be listed.
    static QStringList listFolder(const QString &folder);
    // Creates the destination folder (with its parents) when missing, then moves. Throws
    // SurfaceError on any failure, including a name taken at the destination; the item
    // then stays where it was.
    void move(const QString &name, const Location &from, const Location &to) override;
    std::optional<IconPosition> readPosition(const QString &name) override;
    IconPositions readPositions(const QStringList &names) override;
    void writePosition(const IconPosition &position, const QString &name) override;
    // Moves nothing: a ".DS_Store" is an ordinary hidden entry here.
    void carryPositions(const Location &from, const Location &to, const QStringList &names) override;
    // A desktop's folder is checked with its links resolved; one that does not exist yet
    // counts as lying in the desktops folder.
    void checkFolders(const QList<Location> &folders) override;

private:
    // The folder of a location as a native path; none for a location whose name is not safe.
    std::optional<QByteArray> folderOf(const Location &location) const;

    QString m_desktop;
    QString m_workspacesRoot;
    // Both as native paths, encoded once: every move asks for them.
    QByteArray m_nativeDesktop;
    QByteArray m_nativeRoot;
};

} // namespace quorvane
