#include "IconPlacementRoutines.h"

#include "CoreLog.h"

#include <QSet>

#include <chrono>
#include <thread>

namespace quorvane {

namespace {

void writeIgnoringErrors(DesktopSurface &surface, const IconPositions &positions)
{
    try {
        surface.writePositions(positions);
    } catch (const std::exception &error) {
        qCDebug(coreLog) << "icon positions not written:" << error.what();
    }
}

// The entries of wanted that a read of their names does not return at the same place; a
// failed read leaves every entry misplaced.
IconPositions misplacedAfterRead(DesktopSurface &surface, const IconPositions &wanted)
{
    QStringList names;
    names.reserve(qsizetype(wanted.size()));
    for (const auto &entry : wanted)
        names.append(entry.first);
    IconPositions current;
    try {
        current = surface.readPositions(names);
    } catch (const std::exception &error) {
        qCDebug(coreLog) << "icon positions not read back:" << error.what();
    }
    IconPositions misplaced;
    for (const auto &[name, position] : wanted) {
        const auto found = current.find(name);
        if (found == current.end() || !(found->second == position))
            misplaced.emplace(name, position);
    }
    return misplaced;
}

QString canonical(const QString &name)
{
    return name.normalized(QString::NormalizationForm_C);
}

} // namespace

void blockingSleep(double seconds)
{
    if (seconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void placeSettling(DesktopSurface &surface, const IconPositions &positions, const Sleeper &sleep)
{
    writeIgnoringErrors(surface, positions);
    for (int pass = 1; pass <= placement::settlePasses; ++pass) {
        const IconPositions misplaced = misplacedAfterRead(surface, positions);
        if (misplaced.empty())
            return;
        if (pass > 1 && sleep)
            sleep(placement::settlePause);
        writeIgnoringErrors(surface, misplaced);
    }
}

void placeBatched(DesktopSurface &surface, const IconPositions &positions, const QStringList &names,
                  const Sleeper &sleep)
{
    QSet<QString> wanted;
    for (const QString &name : names)
        wanted.insert(canonical(name));
    for (int poll = 0; poll < placement::batchPolls; ++poll) {
        QStringList listed;
        try {
            listed = surface.items(Location::desktop());
        } catch (const std::exception &error) {
            qCDebug(coreLog) << "the Desktop could not be listed while placing icons:" << error.what();
            listed.clear();
        }
        QSet<QString> missing = wanted;
        for (const QString &name : listed)
            missing.remove(canonical(name));
        if (missing.isEmpty())
            break;
        if (sleep)
            sleep(placement::batchPollInterval);
    }
    writeIgnoringErrors(surface, positions);
    for (int correction = 0; correction < placement::batchCorrections; ++correction) {
        const IconPositions misplaced = misplacedAfterRead(surface, positions);
        if (misplaced.empty())
            return;
        writeIgnoringErrors(surface, misplaced);
    }
}

} // namespace quorvane
