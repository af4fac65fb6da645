#include "DesktopSurface.h"

#include "CoreLog.h"

namespace quorvane {

IconPositions DesktopSurface::readPositions(const QStringList &names)
{
    IconPositions result;
    for (const QString &name : names) {
        try {
            if (const auto position = readPosition(name))
                result.insert_or_assign(name, *position);
        } catch (const std::exception &error) {
            qCDebug(coreLog) << "no icon position read for an item:" << error.what();
        }
    }
    return result;
}

void DesktopSurface::writePositions(const IconPositions &positions)
{
    for (const auto &[name, position] : positions) {
        try {
            writePosition(position, name);
        } catch (const std::exception &error) {
            qCDebug(coreLog) << "no icon position written for an item:" << error.what();
        }
    }
}

void DesktopSurface::carryPositions(const Location &, const Location &, const QStringList &)
{
}

void DesktopSurface::finishCarry()
{
}

void DesktopSurface::checkFolders(const QList<Location> &)
{
}

} // namespace quorvane
