#pragma once

#include "Config.h"
#include "Date.h"
#include "Desktop/ArchiveError.h"
#include "Files/FileOperations.h"
#include "Paths.h"
#include "StateStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quorvane {

// Completes temporary desktops and undoes that: archive moves a desktop's folder into a dated
// folder of the archive root, drain pours it into a permanent desktop's folder and deletes the
// desktop, restore brings an archived folder back. Every operation loads the document, checks
// it, does its file work, and only then writes its change through mutateConfig. It never
// touches the Desktop: the active desktop is never archived or drained.
//
// Errors: ArchiveError, and the store's errors unchanged (StoreError::configNewerThanApp as
// soon as a document of a newer format is loaded, before any file is touched).
class Archiver {
public:
    using Clock = std::function<Date()>;

    // No file operations: the system's.
    Archiver(StateStore &store, const Paths &paths, Clock clock = dateNow, FileOperations *files = nullptr);

    // A name that names no desktop returns without error and without change.
    void archive(const QString &name);
    void drain(const QString &name, const QString &target);
    void restore(const QString &name);

    // Settles what an interrupted process left: copies across file systems its records name
    // (removed when unfinished, finished when placed, wherever they went), and a restore whose
    // folder is back in the desktops folder while the record still names an archive that is
    // gone is completed.
    void finishInterrupted();

    // Archives or drains every live temporary desktop (other than the active one) whose timer
    // is due; returns the names completed, in document order. Failures are logged and skipped.
    QStringList fireDueTimers(Date now);

    QString workspacesRoot() const { return m_workspacesRoot; }

    // The archive folder's date: yyyy-MM-dd of the moment in the local time zone, ASCII digits.
    static QString dateStamp(Date moment);

    // Whether the folder an archived record names is one the archiver made, and so may be
    // moved back or to the Trash. A hand-edited document may name any folder: only one named as
    // the archiver names them ("<name>-YYYY-MM-DD", perhaps with "-2" and on), at an absolute
    // path that leads neither to the home folder, the Desktop or the desktops folder, nor into
    // or over the store, the stash, a live desktop's folder or another archived desktop's folder.
    static bool isArchiveFolder(const Paths &paths, const Config &config, const QString &name, const QString &location);

    // Whether a folder may be the archive root: not the desktops folder itself, and neither
    // the Desktop, the store, the stash nor any desktop's folder, nor inside one of them (a
    // switch would move the archives along). Links are resolved where they exist.
    static bool isAllowedArchiveRoot(const Paths &paths, const Config &config, const QString &folder);

private:
    // Loads the document; one of a newer format is refused before anything else happens.
    Config loadWritable();
    // The document's root when it is absolute and allowed, else the default one.
    QString archiveRoot(const Config &config) const;
    QString folderOf(const QString &name) const { return m_workspacesRoot + '/' + name; }
    void rotateScreenshotCollectionIfNeeded(const QString &archived);
    void markRestored(const QString &name);

    // The path itself when nothing stands there, else path-2, path-3, ...
    QString uniqueURL(const QString &path) const;
    // folder/name when free, else "stem n.ext" (or "name n") for n = 2, 3, ...
    QByteArray uniqueDestination(const QByteArray &name, const QByteArray &folder) const;
    // The base when no desktop has it, else "base 1", "base 2", ...
    static QString uniqueArchivedName(const QString &base, const Config &config);
    bool sameVolume(const QString &a, const QString &b) const;

    StateStore &m_store;
    QString m_workspacesRoot;
    QString m_defaultArchiveRoot;
    Paths m_paths;
    Clock m_clock;
    std::shared_ptr<FileOperations> m_ownFiles; // the system's, when none was given
    FileOperations &m_files;
};

} // namespace quorvane
