#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// The fixed locations of the system on disk. A Paths value is rooted at one home folder and one
// Desktop folder; the process uses standard(), tests root theirs in a temporary folder.
// Paths only names locations: it creates nothing and checks nothing on disk.
class Paths {
public:
    // The desktops folder's name inside the home folder.
    static const QString rootName;
    // Entries of the desktops folder that no desktop may be named after.
    static const QStringList reservedDeskNames;

    // A name the desktops folder keeps for itself: one starting with "." (".store", ".pinned",
    // hidden entries) or a reserved name, ignoring case. No desktop's folder may have it.
    static bool isReservedEntryName(const QString &name);
    // Whether a desktop's name can be its folder in the desktops folder: a usable path
    // component that is none of the folder's own entries (".store", ".pinned", "Archive" ...).
    static bool isDesktopFolderName(const QString &name);

    // Whether a folder may hold a desktop's items: with symbolic links resolved it is not the
    // home folder, holds neither the Desktop nor the desktops folder, and does not lie inside
    // the Desktop or the desktops folder's store. A folder that does not exist yet counts as where its path says; a link
    // that leads nowhere is refused.
    static bool isBoundedFolder(const QString &folder, const QString &home, const QString &desktop, const QString &root);
    bool isBoundedFolder(const QString &folder) const { return isBoundedFolder(folder, m_home, m_desktop, m_root); }

    Paths(const QString &home, const QString &desktop);

    // The Desktop named by the XDG user-dirs file of that home (~/Desktop when it names none).
    static Paths forHome(const QString &home);
    // The current user's, computed once on first use.
    static const Paths &standard();
    // The folder the XDG user-dirs file of that home names under key ("XDG_DOWNLOAD_DIR"), or
    // home/fallbackName when it names none.
    static QString xdgUserFolder(const QString &home, const QString &key, const QString &fallbackName);

    QString home() const { return m_home; }
    QString root() const { return m_root; }
    QString workspaces() const { return m_root; }
    QString store() const { return m_root + QStringLiteral("/.store"); }
    QString config() const { return store() + QStringLiteral("/config.json"); }
    QString journal() const { return store() + QStringLiteral("/journal.json"); }
    // Until when the cleanup reminders were last looked after.
    QString reminderLastRun() const { return store() + QStringLiteral("/reminders-last-run"); }
    // The file whose exclusive lock the one process working on this desktops folder holds.
    QString dataLock() const { return store() + QStringLiteral("/lock"); }
    QString cues() const { return store() + QStringLiteral("/cues"); }
    // The records of copies across file systems in progress, one file each.
    QString copyRecords() const { return store() + QStringLiteral("/copies"); }
    QString pinnedStash() const { return m_root + QStringLiteral("/.pinned"); }
    QString defaultArchiveRoot() const { return m_root + QStringLiteral("/Archive"); }
    QString desktop() const { return m_desktop; }

    // False when the Desktop is the home folder itself, a folder that holds the desktops folder
    // or one inside it: switching there would move the home folder's or the store's contents.
    bool desktopIsSafe() const;

private:
    QString m_home;
    QString m_root;
    QString m_desktop;
};

} // namespace quorvane
