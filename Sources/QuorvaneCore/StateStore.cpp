#include "StateStore.h"

#include "CoreLog.h"

namespace quorvane {

void StateStore::mutateConfig(const std::function<void(Config &)> &edit)
{
    Config config = loadConfig();
    edit(config);
    saveConfig(config);
}

bool StateStore::hasPendingJournal()
{
    try {
        return loadJournal().has_value();
    } catch (const std::exception &error) {
        // An undecodable journal counts as none, as for the launch's recovery.
        qCWarning(coreLog) << "the crash-recovery journal can't be read:" << error.what();
        return false;
    }
}

} // namespace quorvane
