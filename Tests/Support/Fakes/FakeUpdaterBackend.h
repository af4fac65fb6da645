#pragma once

#include "Install/UpdaterBackend.h"

namespace quorvane::test {

// An update framework that records what it is asked; the test plays its hooks through
// `delegate`.
class FakeUpdaterBackend final : public UpdaterBackend {
public:
    std::optional<QString> loadedVersion = QStringLiteral("2.6.4");
    UpdaterDelegate *delegate = nullptr;
    int starts = 0;
    int checks = 0;

    std::optional<QString> version() const override { return loadedVersion; }
    void start(UpdaterDelegate &d) override
    {
        ++starts;
        delegate = &d;
    }
    void checkForUpdates() override { ++checks; }
};

} // namespace quorvane::test
