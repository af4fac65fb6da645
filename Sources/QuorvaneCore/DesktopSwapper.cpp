#include "DesktopSwapper.h"

#include "CoreLog.h"
#include "Names.h"
#include "Paths.h"
#include "SurfaceError.h"
#include "SwapError.h"

#include <algorithm>

namespace quorvane {

const QString DesktopSwapper::pinnedStash = QStringLiteral(".pinned");

namespace {

bool isBlank(const QString &name)
{
    return namesEqual(name, Config::blankWorkspaceName);
}

QStringList listingOrEmpty(DesktopSurface &surface, const Location &at)
{
    try {
        return surface.items(at);
    } catch (const std::exception &error) {
        qCWarning(coreLog) << "a folder could not be listed, taken as empty:" << error.what();
        return {};
    }
}

IconPositions readPositionsOrEmpty(DesktopSurface &surface, const QStringList &names)
{
    try {
        return surface.readPositions(names);
    } catch (const std::exception &error) {
        qCDebug(coreLog) << "icon positions not read:" << error.what();
        return {};
    }
}

QMap<QString, IconPosition> toStored(const IconPositions &positions)
{
    QMap<QString, IconPosition> out;
    for (const auto &[name, position] : positions)
        out.insert(name, position);
    return out;
}

bool isDesktopFolderName(const QString &name)
{
    return Paths::isDesktopFolderName(name);
}

// The longest pause between moving out and moving in, whatever the document asks for: the
// Desktop is empty meanwhile and the process answers nothing.
constexpr std::int64_t maxMoveGapMs = 2000;

void appendOnce(QStringList &list, const QString &name)
{
    if (!list.contains(name))
        list.append(name);
}

QStringList without(const QStringList &names, const QStringList &removed)
{
    QStringList out;
    for (const QString &name : names) {
        if (!removed.contains(name))
            out.append(name);
    }
    return out;
}

// What the target's record lists once a journal's moves are done. Items that could not move
// stay where they are: one that stayed in the target's folder is the folder's, one that stayed
// on the Desktop (its name taken in the left desktop's folder, say) is from now on the target's,
// whose Desktop holds it, and is listed so.
QStringList arrivedFiles(const QStringList &incoming, const DesktopSwapper::Moved &moved)
{
    QStringList files = without(incoming, moved.stayedIn);
    for (const QString &name : moved.stayedOut)
        appendOnce(files, name);
    return files;
}

// The stored spelling of a desktop's name: its record's, or the name itself without a record.
QString recordName(const Config &config, const QString &name)
{
    const Workspace *record = config.workspace(name);
    return record ? record->name : name;
}

QStringList keysOf(const IconPositions &positions)
{
    QStringList out;
    for (const auto &entry : positions)
        out.append(entry.first);
    return out;
}

} // namespace

DesktopSwapper::DesktopSwapper(DesktopSurface &surface, StateStore &store, Sleeper sleep)
    : m_surface(surface)
    , m_store(store)
    , m_sleep(std::move(sleep))
{
}

QStringList DesktopSwapper::switchTo(const QString &requested, const std::function<void(Config &)> &note)
{
    recover();
    // What a replay left on the Desktop leaves with this switch: only this switch's own count.
    m_stayedBehind.clear();
    // A Desktop that is not there (a link that leads nowhere) is said as such, not as a store
    // on another volume.
    m_surface.checkFolders({Location::desktop()});
    if (!m_surface.sameVolume())
        throw SwapError::crossVolumeStore();

    Config config = m_store.loadConfig();
    // Names reach the disk as their records spell them: a canonically equivalent spelling of a
    // name would otherwise address a different folder.
    const QString active = recordName(config, config.activeWorkspace);
    if (namesEqual(requested, active))
        return {};
    const Workspace *record = config.workspace(requested);
    if (!record)
        throw SwapError::unknownWorkspace(requested);
    const QString target = record->name;
    // A desktop whose name cannot be a folder name has no folder: refused before anything
    // moves, rather than journalling moves that can never happen.
    if (!isDesktopFolderName(target))
        throw SwapError::unknownWorkspace(requested);
    if (!isDesktopFolderName(active))
        throw SwapError::unknownWorkspace(active);

    // Every folder this switch may move items into or out of, with links resolved, before
    // anything moves: none may lead to the home folder, the Desktop or the desktops folder,
    // and all lie on the Desktop's file system.
    QList<Location> touched{Location::workspace(target), Location::workspace(active), Location::workspace(pinnedStash)};
    if (isBlank(active)) {
        if (const auto expand = config.expandTarget(); expand && isDesktopFolderName(*expand))
            touched.append(Location::workspace(recordName(config, *expand)));
    }
    m_surface.checkFolders(touched);

    const QSet<QString> pinned(config.settings.pinnedFolders.begin(), config.settings.pinnedFolders.end());
    const StashSync stash = syncPinnedStash(target, config);

    const QStringList desktopItems = m_surface.items(Location::desktop());
    QSet<QString> held = pinned;
    held.unite(stash.restored);
    QSet<QString> heldOnDesktop;
    for (const QString &name : desktopItems) {
        if (held.contains(name))
            heldOnDesktop.insert(name);
    }

    const bool leavingBlank = isBlank(active);
    QSet<QString> deposits;
    QSet<QString> keptDeposits; // left on the Desktop: they become the target's
    if (leavingBlank) {
        QStringList depositList;
        for (const QString &name : desktopItems) {
            if (!held.contains(name))
                depositList.append(name);
        }
        deposits = QSet<QString>(depositList.begin(), depositList.end());
        const auto expand = config.expandTarget();
        QSet<QString> handedOver;
        if (!depositList.isEmpty() && expand && !namesEqual(*expand, target))
            handedOver = handOverHiddenDeposits(*expand, config, depositList);
        keptDeposits = deposits - handedOver;
    }

    QStringList outgoing;
    for (const QString &name : desktopItems) {
        if (!held.contains(name) && !deposits.contains(name))
            outgoing.append(name);
    }

    // A target item whose name is taken on the Desktop by something that stays there (a held
    // pinned item, a deposit the blank desktop did not hand over) is left in its folder and
    // reported, never moved onto the item that stays. An outgoing item whose name the left
    // desktop's folder already holds is journalled like any other: its move fails for a reason
    // of its own, at the switch and at every replay alike, and it stays (see applyMoves).
    const QStringList targetItems = m_surface.items(Location::workspace(target));
    QStringList skipped;
    QStringList incoming;
    for (const QString &name : targetItems) {
        if (heldOnDesktop.contains(name) || keptDeposits.contains(name))
            skipped.append(name);
        else
            incoming.append(name);
    }

    const bool native = config.settings.nativePositions;
    if (!native && !leavingBlank) {
        const IconPositions read = readPositionsOrEmpty(m_surface, outgoing);
        config.updateWorkspace(active, [&](Workspace &w) { w.positions = toStored(read); });
    }
    config.updateWorkspace(active, [&](Workspace &w) { w.files = outgoing; });
    m_store.saveConfig(config);

    const Journal journal{active, target, outgoing, incoming};
    m_store.saveJournal(journal);
    if (m_onJournalled)
        m_onJournalled(outgoing.size() + incoming.size());
    const std::int64_t gapMs = std::clamp<std::int64_t>(config.settings.moveGapMs, 0, maxMoveGapMs);
    // Leaving the blank desktop may have handed deposits over since the Desktop was listed.
    const Listings listings{desktopItems, targetItems};
    const Moved moved = applyMoves(journal, double(gapMs) / 1000.0, native, leavingBlank ? nullptr : &listings);

    config.activeWorkspace = target;
    if (!moved.stayedOut.isEmpty())
        config.updateWorkspace(active, [&](Workspace &w) { w.files = without(outgoing, moved.stayedOut); });
    config.updateWorkspace(target, [&](Workspace &w) { w.files = arrivedFiles(incoming, moved); });
    if (note)
        note(config);
    m_store.saveConfig(config);

    if (!native) {
        QStringList batchNames = incoming;
        batchNames.append(keysOf(stash.positions));
        place(config, applyPositions(target, incoming, config, stash.positions), batchNames);
    } else if (!stash.positions.empty()) {
        place(config, stash.positions, keysOf(stash.positions));
    }

    m_store.saveJournal(std::nullopt);
    return skipped;
}

void DesktopSwapper::place(const Config &config, const IconPositions &positions, const QStringList &batchNames)
{
    if (positions.empty())
        return;
    if (config.settings.iconPlacement == IconPlacement::batch)
        placeBatched(m_surface, positions, batchNames, m_sleep);
    else
        placeSettling(m_surface, positions, m_sleep);
}

DesktopSwapper::StashSync DesktopSwapper::syncPinnedStash(const QString &target, Config &config)
{
    const Location stashLocation = Location::workspace(pinnedStash);
    const QSet<QString> pinned(config.settings.pinnedFolders.begin(), config.settings.pinnedFolders.end());

    if (isBlank(target)) {
        QStringList toStash;
        for (const QString &name : listingOrEmpty(m_surface, Location::desktop())) {
            if (pinned.contains(name))
                toStash.append(name);
        }
        if (toStash.isEmpty())
            return {};
        // Read whatever native positions say: the items come back through placement.
        const IconPositions read = readPositionsOrEmpty(m_surface, toStash);
        QMap<QString, IconPosition> stored;
        StashSync result;
        for (const QString &name : toStash) {
            try {
                m_surface.move(name, Location::desktop(), stashLocation);
            } catch (const std::exception &error) {
                qCWarning(coreLog) << "a pinned item stayed on the Desktop:" << error.what();
                continue;
            }
            result.restored.insert(name);
            if (auto it = read.find(name); it != read.end())
                stored.insert(name, it->second);
        }
        config.updateWorkspace(Config::blankWorkspaceName, [&](Workspace &w) { w.positions = stored; });
        return result;
    }

    QSet<QString> moved;
    for (const QString &name : listingOrEmpty(m_surface, stashLocation)) {
        try {
            m_surface.move(name, stashLocation, Location::desktop());
            moved.insert(name);
        } catch (const std::exception &error) {
            qCWarning(coreLog) << "a pinned item stayed in the stash:" << error.what();
        }
    }
    if (moved.isEmpty())
        return {};
    StashSync result;
    result.restored = moved;
    if (const Workspace *blank = config.workspace(Config::blankWorkspaceName)) {
        for (auto it = blank->positions.cbegin(); it != blank->positions.cend(); ++it) {
            if (moved.contains(it.key()))
                result.positions.emplace(it.key(), it.value());
        }
    }
    config.updateWorkspace(Config::blankWorkspaceName, [&](Workspace &w) {
        for (const QString &name : moved)
            w.positions.remove(name);
    });
    return result;
}

QSet<QString> DesktopSwapper::handOverHiddenDeposits(const QString &expandTarget, Config &config,
                                                     const QStringList &deposits)
{
    QStringList moved;
    for (const QString &name : deposits) {
        try {
            m_surface.move(name, Location::desktop(), Location::workspace(expandTarget));
            moved.append(name);
        } catch (const std::exception &error) {
            qCWarning(coreLog) << "an item left on the hidden Desktop stayed there:" << error.what();
        }
    }
    config.updateWorkspace(expandTarget, [&](Workspace &w) {
        for (const QString &name : moved) {
            w.positions.remove(name);
            if (!w.files.contains(name))
                w.files.append(name);
        }
    });
    return QSet<QString>(moved.begin(), moved.end());
}

bool DesktopSwapper::moveOrLeave(const QString &name, const Location &from, const Location &to)
{
    try {
        m_surface.move(name, from, to);
        return true;
    } catch (const SurfaceError &error) {
        if (!error.concernsItemOnly())
            throw;
        appendOnce(m_stayedBehind, name);
        return false;
    }
}

DesktopSwapper::Moved DesktopSwapper::applyMoves(const Journal &journal, double gapSeconds, bool carryPositions,
                                                 const Listings *fresh)
{
    // A journal naming one of the desktops folder's own entries (only a hand-edited one can)
    // would move the store or the archive onto the Desktop.
    for (const QString &name : {journal.fromWorkspace, journal.toWorkspace}) {
        if (!isDesktopFolderName(name))
            throw SwapError::unknownWorkspace(name);
    }
    const Location from = Location::workspace(journal.fromWorkspace);
    const Location to = Location::workspace(journal.toWorkspace);
    // A replay checks the folders as the switch did: the links may have changed since.
    m_surface.checkFolders({from, to});
    Moved moved;

    const QStringList desktopListing = fresh ? fresh->desktop : m_surface.items(Location::desktop());
    const QSet<QString> onDesktop(desktopListing.begin(), desktopListing.end());
    // Moving out touches only the Desktop and the left desktop's folder, so one listing of the
    // target's folder serves both directions.
    const QStringList folderListing = fresh ? fresh->target : m_surface.items(to);
    const QSet<QString> inFolder(folderListing.begin(), folderListing.end());
    const QSet<QString> incomingNames(journal.incoming.begin(), journal.incoming.end());

    // Positions are advisory: a carry that fails costs positions, never a move.
    if (carryPositions) {
        QStringList leaving;
        for (const QString &name : journal.outgoing) {
            if (onDesktop.contains(name))
                leaving.append(name);
        }
        try {
            m_surface.carryPositions(Location::desktop(), from, leaving);
        } catch (const std::exception &error) {
            qCDebug(coreLog) << "icon positions not carried:" << error.what();
        }
    }
    bool movedOut = false;
    for (const QString &name : journal.outgoing) {
        if (!onDesktop.contains(name))
            continue;
        // A name that is also incoming and no longer in the target's folder has already
        // arrived (incoming moves start only after every outgoing move): the item on the
        // Desktop is the target's and stays.
        if (incomingNames.contains(name) && !inFolder.contains(name))
            continue;
        if (moveOrLeave(name, Location::desktop(), from))
            movedOut = true;
        else
            moved.stayedOut.append(name);
    }
    if (movedOut && gapSeconds > 0)
        m_sleep(gapSeconds);

    if (carryPositions) {
        QStringList arriving;
        for (const QString &name : journal.incoming) {
            if (inFolder.contains(name))
                arriving.append(name);
        }
        try {
            m_surface.carryPositions(to, Location::desktop(), arriving);
        } catch (const std::exception &error) {
            qCDebug(coreLog) << "icon positions not carried:" << error.what();
        }
    }
    for (const QString &name : journal.incoming) {
        if (inFolder.contains(name) && !moveOrLeave(name, to, Location::desktop()))
            moved.stayedIn.append(name);
    }
    if (carryPositions) {
        try {
            m_surface.finishCarry();
        } catch (const std::exception &error) {
            qCDebug(coreLog) << "icon positions not carried:" << error.what();
        }
    }
    return moved;
}

IconPositions DesktopSwapper::applyPositions(const QString &workspace, const QStringList &names, const Config &config,
                                             const IconPositions &plus) const
{
    IconPositions out;
    if (const Workspace *w = config.workspace(workspace)) {
        for (const QString &name : names) {
            auto it = w->positions.constFind(name);
            if (it != w->positions.cend())
                out[name] = it.value();
        }
    }
    for (const auto &[name, position] : plus)
        out[name] = position;
    return out;
}

void DesktopSwapper::recoverIfNeeded()
{
    m_stayedBehind.clear();
    recover();
}

void DesktopSwapper::recover()
{
    struct DrainOnExit {
        DesktopSwapper *self;
        ~DrainOnExit()
        {
            self->drainPinnedStashUnlessHidden();
            self->drainHiddenDesktopUnlessHidden();
        }
    } drains{this};

    const auto journal = m_store.loadJournal();
    if (!journal)
        return;
    const Moved moved = applyMoves(*journal, 0, false);
    Config config = m_store.loadConfig();
    config.activeWorkspace = journal->toWorkspace;
    config.updateWorkspace(journal->fromWorkspace, [&](Workspace &w) { w.files = without(journal->outgoing, moved.stayedOut); });
    config.updateWorkspace(journal->toWorkspace, [&](Workspace &w) { w.files = arrivedFiles(journal->incoming, moved); });
    m_store.saveConfig(config);
    if (!config.settings.nativePositions)
        place(config, applyPositions(journal->toWorkspace, journal->incoming, config, {}), journal->incoming);
    m_store.saveJournal(std::nullopt);
}

void DesktopSwapper::drainPinnedStashUnlessHidden()
{
    try {
        // Nearly always empty: then there is nothing to bring back and no document to read.
        if (listingOrEmpty(m_surface, Location::workspace(pinnedStash)).isEmpty())
            return;
        Config config = m_store.loadConfig();
        if (isBlank(config.activeWorkspace))
            return;
        m_surface.checkFolders({Location::workspace(pinnedStash)});
        const StashSync stash = syncPinnedStash(config.activeWorkspace, config);
        if (stash.restored.isEmpty())
            return;
        try {
            m_store.saveConfig(config);
        } catch (const std::exception &error) {
            qCWarning(coreLog) << "config.json not saved after the pinned items came back:" << error.what();
        }
        if (!stash.positions.empty())
            placeSettling(m_surface, stash.positions, m_sleep);
    } catch (const std::exception &error) {
        qCWarning(coreLog) << "the pinned items wait in their stash:" << error.what();
    }
}

void DesktopSwapper::drainHiddenDesktopUnlessHidden()
{
    try {
        if (listingOrEmpty(m_surface, Location::workspace(Config::blankWorkspaceName)).isEmpty())
            return;
        Config config = m_store.loadConfig();
        if (isBlank(config.activeWorkspace))
            return;
        m_surface.checkFolders({Location::workspace(Config::blankWorkspaceName)});
        const QStringList items = listingOrEmpty(m_surface, Location::workspace(Config::blankWorkspaceName));
        if (items.isEmpty())
            return;
        QStringList failed;
        QStringList moved;
        for (const QString &name : items) {
            try {
                m_surface.move(name, Location::workspace(Config::blankWorkspaceName), Location::desktop());
                moved.append(name);
            } catch (const std::exception &error) {
                qCWarning(coreLog) << "an item stayed in the hidden desktop's folder:" << error.what();
                failed.append(name);
            }
        }
        config.updateWorkspace(Config::blankWorkspaceName, [&](Workspace &w) {
            w.files = failed;
            for (const QString &name : moved)
                w.positions.remove(name);
        });
        try {
            m_store.saveConfig(config);
        } catch (const std::exception &error) {
            qCWarning(coreLog) << "config.json not saved after the hidden desktop's items came back:" << error.what();
        }
    } catch (const std::exception &error) {
        qCWarning(coreLog) << "the hidden desktop's items wait in its folder:" << error.what();
    }
}

} // namespace quorvane
