#pragma once

#include "Config.h"
#include "DesktopSurface.h"
#include "IconPlacementRoutines.h"
#include "Journal.h"
#include "StateStore.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace quorvane {

// Performs a desktop switch on disk: the outgoing desktop's items leave the Desktop for its
// folder, the target's items arrive, pinned items stay (parked in ".pinned" while the blank
// desktop is active), items dropped on the blank desktop go to the expand target. Every switch
// runs under the journal, so an interrupted one is finished by the next call. Keeps nothing
// between calls: every operation loads the document afresh.
class DesktopSwapper {
public:
    static const QString pinnedStash; // ".pinned"

    DesktopSwapper(DesktopSurface &surface, StateStore &store, Sleeper sleep = blockingSleep);

    // Switches to the named desktop. Returns the names left in the target's folder because an
    // item of the same name stays on the Desktop (a pinned item, or an item dropped on the blank
    // desktop that stays). An item that cannot move (its name taken where it goes, among other
    // reasons of its own) stays where it is and is told by stayedBehind(). A desktop name that cannot be a folder name is refused as
    // unknownWorkspace, and a folder the surface refuses (checkFolders) with its SwapError,
    // before anything moves. The pause between moving out and in is at most two seconds. Throws SwapError, StoreError, SurfaceError and the store's
    // other errors; a switch interrupted after its journal was saved is finished by the next
    // call. note, when given, edits the document the switch saves last, once the target is
    // active in it (the caller's own note of the switch, such as the visit stamp), so that the
    // note costs no save of its own.
    QStringList switchTo(const QString &target, const std::function<void(Config &)> &note = {});

    // Finishes a switch recorded in the journal, then empties the pinned stash and the blank
    // desktop's folder onto the Desktop unless the blank desktop is active.
    void recoverIfNeeded();

    // The items that the last switchTo or recoverIfNeeded could not move for a reason of their
    // own (permissions, a name taken meanwhile, a name too long): each stayed where it was,
    // and the switch went on without it.
    const QStringList &stayedBehind() const { return m_stayedBehind; }

    // Told, on the switching thread, how many items a switch is to move, once its journal is
    // saved and before the first one moves.
    void setOnJournalled(std::function<void(qsizetype moves)> listener) { m_onJournalled = std::move(listener); }

    DesktopSurface &surface() { return m_surface; }
    StateStore &store() { return m_store; }

    // What a journal's moves left where they were.
    struct Moved {
        QStringList stayedOut; // outgoing items still on the Desktop
        QStringList stayedIn;  // incoming items still in the target's folder
    };

private:
    struct StashSync {
        QSet<QString> restored;
        IconPositions positions;
    };

    void recover();
    // One move of a journal: a failure of the item's own leaves it where it is (false);
    // any other failure is thrown.
    bool moveOrLeave(const QString &name, const Location &from, const Location &to);
    StashSync syncPinnedStash(const QString &target, Config &config);
    // Moves the blank desktop's deposits into the expand target's folder; returns those moved.
    QSet<QString> handOverHiddenDeposits(const QString &expandTarget, Config &config, const QStringList &deposits);
    // The listings of the Desktop and of the target's folder, when the caller has just made them
    // and nothing moved since.
    struct Listings {
        QStringList desktop;
        QStringList target;
    };
    Moved applyMoves(const Journal &journal, double gapSeconds, bool carryPositions, const Listings *fresh = nullptr);
    IconPositions applyPositions(const QString &workspace, const QStringList &names, const Config &config,
                                 const IconPositions &plus) const;
    void place(const Config &config, const IconPositions &positions, const QStringList &batchNames);
    void drainPinnedStashUnlessHidden();
    void drainHiddenDesktopUnlessHidden();

    DesktopSurface &m_surface;
    StateStore &m_store;
    Sleeper m_sleep;
    QStringList m_stayedBehind;
    std::function<void(qsizetype)> m_onJournalled;
};

} // namespace quorvane
