#pragma once

#include "NoReplaceMove.h"
#include "Paths.h"
#include "StateStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane {

class LoginItem;

// Brings the pinned items and every live desktop's folder back onto the Desktop as ordinary
// folders, so that nothing stays behind in the desktops folder once the application is gone.
// It only moves (never copies), never replaces anything and never saves the document.
class Uninstaller {
public:
    // One move that never replaces: 0 or the errno of the failure (EEXIST when the target is
    // taken). A move across file systems fails with EXDEV and is a failed move.
    using Move = std::function<int(const QByteArray &from, const QByteArray &to)>;

    struct Result {
        QStringList restored; // the names now on the Desktop, in the order they were moved
        QStringList failed;   // the pinned items and desktops whose move failed, in order
    };

    Uninstaller(const Paths &paths, StateStore &store, Move move = fileops::renameNoReplace);

    // Pinned items first (the stash's entries not starting with "."), then the live desktops
    // in document order whose folder holds something not starting with "."; the blank desktop
    // arrives as "Hidden desktop". A failed move is logged and the rest goes on.
    Result restoreDesksToDesktop();

    // The first path on the Desktop where nothing stands (a dangling link counts): the name,
    // then the name followed by " 2", " 3" and so on.
    QString uniqueDesktopURL(const QString &name) const;

    // Removes what the application leaves outside its folders: the login item, and the desktop
    // entry it installed itself into the per-user install of that home (a regular file there;
    // one elsewhere belongs to whoever installed it, a link is the user's). A failure is ignored.
    static void removeFootprint(LoginItem *loginItem, const QString &desktopEntry = {}, const QString &home = {});

private:
    // uniqueDesktopURL counting from number, which ends as the number of the path returned.
    QString freeDesktopPath(const QString &name, int &number) const;
    // Moves the item to the first free name on the Desktop, taking the next one when the move
    // finds its target taken. 0 or errno; the name it got in placed.
    int moveToDesktop(const QByteArray &from, const QString &name, QString &placed);
    // Why the desktop's folder may not be moved; empty when it may.
    QString refusal(const Workspace &workspace, const Config &config) const;

    Paths m_paths;
    StateStore &m_store;
    Move m_move;
};

} // namespace quorvane
