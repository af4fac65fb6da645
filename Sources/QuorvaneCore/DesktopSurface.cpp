#include "DesktopSurface.h"

namespace quorvane {

IconPositions DesktopSurface::readPositions(const QStringList &names)
{
    IconPositions result;
    for (const QString &name : names) {
        try {
            if (const auto position = readPosition(name))
                result.insert_or_assign(name, *position);
        } catch (...) {
        }
    }
    return result;
}

void DesktopSurface::writePositions(const IconPositions &positions)
{
    for (const auto &[name, position] : positions) {
        try {
            writePosition(position, name);
        } catch (...) {
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
