#include "Desktop/FinderSurface.h"

#include "Desktop/CarriedPositions.h"
#include "Shared/Log.h"
#include "Work/HostWork.h"

#include <QScopeGuard>
#include <QSet>

#include <utility>

namespace quorvane {

FinderSurface::FinderSurface(const QString &desktop, const QString &workspacesRoot, DesktopIconHostFinder findHost)
    : m_files(desktop, workspacesRoot)
    , m_findHost(std::move(findHost))
{
    setLog([](const QString &line) { qWarning("%s", qPrintable(line)); });
}

void FinderSurface::setLog(std::function<void(const QString &)> log)
{
    const std::lock_guard lock(m_log->mutex);
    m_log->write = std::move(log);
}

void FinderSurface::LogSink::operator()(const QString &line)
{
    const std::lock_guard lock(mutex);
    if (write)
        write(line);
}

namespace {

QString problemLine(const DesktopIconHost &host, const std::exception &error)
{
    return QStringLiteral("icon positions of %1 not served: %2").arg(host.name(), QString::fromUtf8(error.what()));
}

} // namespace

bool FinderSurface::sameVolume()
{
    return m_files.sameVolume();
}

QStringList FinderSurface::items(const Location &at)
{
    return m_files.items(at);
}

void FinderSurface::move(const QString &name, const Location &from, const Location &to)
{
    m_files.move(name, from, to);
}

void FinderSurface::checkFolders(const QList<Location> &folders)
{
    m_files.checkFolders(folders);
}

QString FinderSurface::folderOf(const Location &at) const
{
    return at.isDesktop() ? m_files.desktopPath() : m_files.workspacesRoot() + QLatin1Char('/') + at.name();
}

void FinderSurface::logProblem(const DesktopIconHost &host, const std::exception &error)
{
    (*m_log)(problemLine(host, error));
}

std::optional<IconPosition> FinderSurface::readPosition(const QString &name)
{
    const IconPositions read = readPositions({name});
    if (const auto it = read.find(name); it != read.end())
        return it->second;
    return std::nullopt;
}

IconPositions FinderSurface::readPositions(const QStringList &names)
{
    if (names.isEmpty() || !m_findHost)
        return {};
    const auto host = m_findHost();
    if (!host)
        return {};
    try {
        return host->read(names);
    } catch (const IconStoreError &error) {
        logProblem(*host, error);
        return {};
    }
}

void FinderSurface::readPositionsLater(const QStringList &names, std::function<void(const IconPositions &)> answered)
{
    auto answer = std::make_shared<IconPositions>();
    HostWork::post(
        [names, findHost = m_findHost, log = m_log, answer] {
            const auto host = names.isEmpty() || !findHost ? nullptr : findHost();
            if (!host)
                return;
            try {
                *answer = host->read(names);
            } catch (const IconStoreError &error) {
                HostWork::deliver([log, line = problemLine(*host, error)] { (*log)(line); });
            } catch (const std::exception &error) {
                qCDebug(Log::swap()) << "icon positions not read back:" << error.what();
            }
        },
        [answer, answered = std::move(answered)] { answered(*answer); });
}

void FinderSurface::writePosition(const IconPosition &position, const QString &name)
{
    writePositions({{name, position}});
}

void FinderSurface::writePositions(const IconPositions &positions)
{
    if (positions.empty() || !m_findHost)
        return;
    const auto host = m_findHost();
    if (!host)
        return;
    writeLater({host, positions, {}});
}

void FinderSurface::writeLater(Pending change)
{
    // The host may need a child process per item, or its desktop started again: that work goes
    // on away from the event loop, and lands when the host has taken it.
    const auto log = m_log;
    ++*m_writing;
    HostWork::post([change = std::move(change), log, writing = m_writing] {
        const auto written = qScopeGuard([&writing] { --*writing; });
        try {
            change.host->writeAndReload(change.set, change.forget);
        } catch (const IconStoreError &error) {
            HostWork::deliver([log, line = problemLine(*change.host, error)] { (*log)(line); });
        }
    });
}

void FinderSurface::carryPositions(const Location &from, const Location &to, const QStringList &names)
{
    if (names.isEmpty() || from.isDesktop() == to.isDesktop() || !m_findHost)
        return;
    const auto host = m_findHost();
    if (!host)
        return;
    if (from.isDesktop())
        m_carryFailed = false;
    else if (m_carryFailed)
        return;
    // The entries of the items that leave are the host's once what the last switch brought
    // has been written; a host that takes longer costs this switch those entries, not its files.
    if (from.isDesktop() && *m_writing > 0 && !HostWork::drain(3000))
        (*m_log)(QStringLiteral("icon positions of %1: the last switch's still being written").arg(host->name()));
    try {
        if (from.isDesktop()) {
            // Leaving: the host's entries go with the items; a name without one loses what the
            // folder kept for it, and the folder keeps nothing for names that are neither in it
            // nor on their way there.
            const IconPositions read = host->read(names);
            const QString folder = folderOf(to);
            CarriedPositions carried(folder);
            IconPositions &kept = carried.of(host->name());
            QSet<QString> present(names.begin(), names.end());
            for (const QString &name : FileSystemSurface::listFolder(folder))
                present.insert(name);
            for (auto it = kept.begin(); it != kept.end();)
                it = present.contains(it->first) ? std::next(it) : kept.erase(it);
            for (const QString &name : names) {
                if (const auto it = read.find(name); it != read.end())
                    kept.insert_or_assign(name, it->second);
                else
                    kept.erase(name);
            }
            carried.save();
            // The host's entries for these names go too once they are off the Desktop (with
            // the arriving ones, or at the carry's end), so that an item arriving later under
            // one of these names is not placed where this desktop's item lay.
            m_left = names;
            return;
        }
        // Arriving: each name takes the entry its desktop kept, or none (so an entry the host
        // keeps for a name of another desktop's item does not place this one).
        CarriedPositions carried(folderOf(from));
        const IconPositions &kept = carried.of(host->name());
        Pending change{host, {}, {}};
        for (const QString &name : names) {
            if (const auto it = kept.find(name); it != kept.end())
                change.set.insert_or_assign(name, it->second);
            else
                change.forget.append(name);
        }
        for (const QString &name : std::exchange(m_left, {})) {
            if (change.set.find(name) == change.set.end() && !change.forget.contains(name))
                change.forget.append(name);
        }
        // A host that reads its entry as the item arrives gets it before; the others once the
        // items lie on the Desktop (finishCarry).
        if (host->pickup() == DesktopIconHost::Pickup::onArrival)
            host->write(change.set, change.forget);
        else
            m_pending = std::move(change);
    } catch (const IconStoreError &error) {
        m_carryFailed = from.isDesktop();
        logProblem(*host, error);
    }
}

void FinderSurface::finishCarry()
{
    m_carryFailed = false;
    if (!m_pending && !m_left.isEmpty() && m_findHost) {
        // Nothing arrived: the names that left are forgotten on their own.
        if (const auto host = m_findHost())
            m_pending = Pending{host, {}, m_left};
    }
    m_left.clear();
    if (!m_pending)
        return;
    Pending change = std::move(*m_pending);
    m_pending.reset();
    writeLater(std::move(change));
}

} // namespace quorvane
