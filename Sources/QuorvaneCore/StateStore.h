#pragma once

#include "Config.h"
#include "Journal.h"

#include <functional>
#include <optional>

namespace quorvane {

// The only way the system reads and writes its persistent state. No implementation keeps the
// document between operations: every change loads it, edits it and saves it whole.
class StateStore {
public:
    virtual ~StateStore() = default;

    virtual Config loadConfig() = 0;
    virtual void saveConfig(const Config &config) = 0;
    virtual std::optional<Journal> loadJournal() = 0;
    // None deletes the journal.
    virtual void saveJournal(const std::optional<Journal> &journal) = 0;

    // Load, edit in place, save. An error of any step is thrown; a throwing edit saves nothing.
    void mutateConfig(const std::function<void(Config &)> &edit);

    // Whether a switch is pending: a journal that cannot be decoded counts as none here.
    bool hasPendingJournal();
};

} // namespace quorvane
