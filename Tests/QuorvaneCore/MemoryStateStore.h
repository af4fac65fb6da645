#pragma once

#include "StateStore.h"

#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace quorvane::test {

// A store held in memory: the document is kept as a value (so settings the file store forces,
// such as native positions, keep what a test sets), every save is recorded, and a test can make
// any write fail.
class MemoryStateStore : public StateStore {
public:
    Config config = Config::defaultDocument();
    std::optional<Journal> journal;

    std::vector<Config> savedConfigs;
    std::vector<std::optional<Journal>> savedJournals;
    // Shared with a fake surface to see the order of saves and moves.
    std::vector<QString> *log = nullptr;
    // Called before each write with "config" or "journal"; may throw to fail the write.
    std::function<void(const char *)> beforeWrite;
    bool loadsFail = false;
    int loads = 0;

    Config loadConfig() override
    {
        ++loads;
        if (loadsFail)
            throw std::runtime_error("config unreadable");
        return config;
    }

    void saveConfig(const Config &value) override
    {
        if (beforeWrite)
            beforeWrite("config");
        config = value;
        savedConfigs.push_back(value);
        if (log)
            log->push_back(QStringLiteral("save config"));
    }

    std::optional<Journal> loadJournal() override { return journal; }

    void saveJournal(const std::optional<Journal> &value) override
    {
        if (beforeWrite)
            beforeWrite("journal");
        journal = value;
        savedJournals.push_back(value);
        if (log)
            log->push_back(value ? QStringLiteral("save journal") : QStringLiteral("delete journal"));
    }
};

} // namespace quorvane::test
