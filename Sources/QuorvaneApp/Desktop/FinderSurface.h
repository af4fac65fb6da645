#pragma once

#include "DesktopHosts/DesktopIconHost.h"
#include "DesktopSurface.h"
#include "FileSystemSurface.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace quorvane {

// The surface the application uses: file work goes to a FileSystemSurface; icon positions are
// read from and written to the store of the desktop host that runs (none: no positions). With
// native positions the host's entries of the items that leave the Desktop go with them into
// their desktop's folder (CarriedPositions), and the entries of the items that arrive go back
// into the host's store: for a host that reads entries as items arrive, before they move; for
// one that reads its store only as it starts, once they have moved, with its desktop started
// again. Entries of names no switch moves are never touched.
//
// A store that is missing, unreadable or in an unknown format is left as it is: one log line,
// and that operation goes on without positions. Positions never fail a switch, and never hold
// it: the entries written once the items lie on the Desktop (and a position set from outside a
// switch) are written away from the event loop (HostWork), in the order asked.
//
// Threads: the DesktopSurface calls, the carry's state (m_pending, m_left, m_carryFailed) and
// files() belong to whoever runs the engine, one switch at a time (the switch's worker; the GUI
// thread's sweeps and the launch's bootstrap only while no switch runs). readPositionsLater()
// may be called on the GUI thread at any time, a switch running or not: its read takes copies of
// the host finder (fixed at construction, safe to call from any thread) and of the log, and runs
// on the host work's thread. The log is the one member every thread uses: it is called under a
// lock of its own, and the lines of host work land on the GUI thread.
class FinderSurface : public DesktopSurface {
public:
    FinderSurface(const QString &desktop, const QString &workspacesRoot, DesktopIconHostFinder findHost);

    bool sameVolume() override;
    QStringList items(const Location &at) override;
    void move(const QString &name, const Location &from, const Location &to) override;
    std::optional<IconPosition> readPosition(const QString &name) override;
    IconPositions readPositions(const QStringList &names) override;
    void writePosition(const IconPosition &position, const QString &name) override;
    void writePositions(const IconPositions &positions) override;
    void carryPositions(const Location &from, const Location &to, const QStringList &names) override;
    void finishCarry() override;
    void checkFolders(const QList<Location> &folders) override;

    // Reads the entries of these names as readPositions() does, away from the event loop (on the
    // host work's thread, after every write asked before it), and hands the answer to `answered`
    // on the GUI thread; a read that fails answers no entries. The host may need a child process
    // to answer (seconds, for a busy one): the event loop never waits for it.
    void readPositionsLater(const QStringList &names, std::function<void(const IconPositions &)> answered);

    // Where the one line about a store that cannot be served goes; default: qWarning.
    void setLog(std::function<void(const QString &)> log);

    // The plain file moves underneath, without the host's positions.
    FileSystemSurface &files() { return m_files; }

private:
    FileSystemSurface m_files;
    QString folderOf(const Location &at) const;
    void logProblem(const DesktopIconHost &host, const std::exception &error);

    const DesktopIconHostFinder m_findHost;
    // The log, called from the engine's thread and from the GUI thread.
    struct LogSink {
        std::mutex mutex;
        std::function<void(const QString &)> write;
        void operator()(const QString &line);
    };
    const std::shared_ptr<LogSink> m_log = std::make_shared<LogSink>();
    // Entries waiting for the items to lie on the Desktop (a host that reads its store only as
    // it starts, or one that keeps them on the item itself).
    struct Pending {
        std::shared_ptr<DesktopIconHost> host;
        IconPositions set;
        QStringList forget;
    };
    std::optional<Pending> m_pending;
    // Writes the change away from the event loop (HostWork); a failure is logged once it is known.
    void writeLater(Pending change);
    // How many of those writes have not ended yet.
    std::shared_ptr<std::atomic<int>> m_writing = std::make_shared<std::atomic<int>>(0);
    // The names that left the Desktop in this carry, their host entries still to forget.
    QStringList m_left;
    // The store could not be served as the items left: the arriving ones do without, unsaid.
    bool m_carryFailed = false;
};

} // namespace quorvane
