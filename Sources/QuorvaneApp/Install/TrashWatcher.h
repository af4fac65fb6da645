#pragma once

#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace quorvane {

// Notices the installed executable being moved to a Trash. It holds the executable open (a
// path-only descriptor, so it follows the file wherever it is renamed) and watches the folder
// the executable lies in through inotify; on each change there it asks the descriptor where
// the file now is. Arriving in a Trash folder calls onTrashed, once per arrival. There is no
// stop: once started, the watch lasts as long as the watcher.
class TrashWatcher {
public:
    // An empty appIdentifier: the bare executable, which is never watched. homeTrash: the
    // files folder of the user's own Trash.
    TrashWatcher(const QString &appIdentifier, const QString &executablePath,
                 const QString &homeTrash = standardHomeTrash());
    ~TrashWatcher();
    TrashWatcher(const TrashWatcher &) = delete;
    TrashWatcher &operator=(const TrashWatcher &) = delete;

    // $XDG_DATA_HOME/Trash/files (~/.local/share/Trash/files when the variable is unset).
    static QString standardHomeTrash();

    std::function<void()> onTrashed;

    // Does nothing without an identifier, when started before, or when the executable cannot
    // be opened (silently).
    void start();
    bool isWatching() const { return m_source != nullptr; }

    // Inside the user's Trash, or inside a ".Trash-<uid>/files" or ".Trash" folder of any
    // volume.
    bool isInTrash(const QString &path) const;

private:
    void readEvents();
    // Where the executable is now; empty when that cannot be told or it was deleted.
    QString currentPath() const;
    void watchFolderOf(const QString &path);

    QString m_identifier;
    QString m_executable;
    QString m_homeTrash;
    int m_file = -1;
    int m_inotify = -1;
    int m_watch = -1;
    QString m_watchedFolder;
    std::unique_ptr<QSocketNotifier> m_source;
    bool m_inTrash = false;
};

} // namespace quorvane
