#include "StateStore.h"

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
    } catch (...) {
        return false;
    }
}

} // namespace quorvane
