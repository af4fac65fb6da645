#include "Install/TrashWatcher.h"

namespace quorvane {

TrashWatcher::TrashWatcher(const QString &appIdentifier)
    : m_appIdentifier(appIdentifier)
{
}

void TrashWatcher::start()
{
    if (m_appIdentifier.isEmpty())
        return;
    // The installed application's files are not watched yet, so onTrashed is never called.
}

} // namespace quorvane
