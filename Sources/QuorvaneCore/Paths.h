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

    Paths(const QString &home, const QString &desktop);

    // The Desktop named by the XDG user-dirs file of that home (~/Desktop when it names none).
    static Paths forHome(const QString &home);
    // The current user's, computed once on first use.
    static const Paths &standard();

    QString home() const { return m_home; }
    QString root() const { return m_root; }
    QString workspaces() const { return m_root; }
    QString store() const { return m_root + QStringLiteral("/.store"); }
    QString config() const { return store() + QStringLiteral("/config.json"); }
    QString journal() const { return store() + QStringLiteral("/journal.json"); }
    QString cues() const { return store() + QStringLiteral("/cues"); }
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
