#include "ScreenshotSweeper.h"

#include "CoreLog.h"
#include "Names.h"
#include "Paths.h"

#include <algorithm>

namespace quorvane {

ScreenshotSweeper::ScreenshotSweeper(DesktopSurface &surface, StateStore &store, std::int64_t canvasWidth,
                                     std::int64_t canvasHeight, Predicate isScreenshot)
    : m_surface(&surface)
    , m_store(&store)
    , m_isScreenshot(std::move(isScreenshot))
    , m_canvasWidth(canvasWidth)
    , m_canvasHeight(canvasHeight)
{
}

bool ScreenshotSweeper::isScreenshot(std::optional<bool> captureFlag, bool filenameFallback, bool nameMatches)
{
    if (captureFlag)
        return *captureFlag;
    return filenameFallback && nameMatches;
}

IconPosition ScreenshotSweeper::gridSlot(std::int64_t n, std::int64_t canvasWidth, std::int64_t canvasHeight)
{
    const std::int64_t rows = std::max<std::int64_t>((canvasHeight - 90 - 120) / 90, 0) + 1;
    const std::int64_t column = n / rows;
    const std::int64_t row = n % rows;
    return IconPosition{std::max<std::int64_t>(canvasWidth - 70 - 90 * column, 70), 90 + 90 * row};
}

QStringList ScreenshotSweeper::sweep(const QString &target, const QString &activeWorkspace, const QSet<QString> &pinned)
{
    if (!m_surface->sameVolume())
        return {};
    if (namesEqual(target, activeWorkspace))
        return {};
    // The blank desktop holds nothing: what its folder receives is handed to the desktop
    // being left at the next switch.
    if (namesEqual(target, Config::blankWorkspaceName))
        return {};
    // Only a desktop's own folder: never one of the desktops folder's entries (the store, the
    // stash, the archive), and never a folder that leads out of bounds (thrown).
    if (!Paths::isDesktopFolderName(target))
        return {};
    m_surface->checkFolders({Location::workspace(target)});
    const QStringList listed = m_surface->items(Location::desktop());

    QSet<QString> pinnedNames;
    for (const QString &name : pinned)
        pinnedNames.insert(name.normalized(QString::NormalizationForm_C));

    QStringList moved;
    for (const QString &name : listed) {
        if (pinnedNames.contains(name.normalized(QString::NormalizationForm_C)) || !m_isScreenshot(name))
            continue;
        try {
            m_surface->move(name, Location::desktop(), Location::workspace(target));
            moved.append(name);
        } catch (const std::exception &error) {
            // Taken at the destination, or gone: it stays where it is.
            qCInfo(coreLog) << "a swept item stayed on the Desktop:" << error.what();
        }
    }
    if (moved.isEmpty())
        return {};

    m_store->mutateConfig([&](Config &config) {
        config.updateWorkspace(target, [&](Workspace &w) {
            for (const QString &name : moved) {
                if (std::any_of(w.files.begin(), w.files.end(), [&](const QString &f) { return namesEqual(f, name); }))
                    continue;
                w.files.append(name);
                if (!w.positions.contains(name))
                    w.positions.insert(name, gridSlot(w.positions.size(), m_canvasWidth, m_canvasHeight));
            }
        });
    });
    return moved;
}

} // namespace quorvane
