#pragma once

#include "Files/RunningInstances.h"

namespace quorvane::test {

// Another instance that tests make appear and go: otherPid is what otherInstancePid() answers.
class FakeRunningInstances final : public RunningInstances {
public:
    std::optional<qint64> otherPid;
    bool claimed = false;
    mutable int lookups = 0;

    bool claim() override
    {
        if (otherPid)
            return false;
        claimed = true;
        return true;
    }
    std::optional<qint64> otherInstancePid() const override
    {
        ++lookups;
        return otherPid;
    }
    void release() override { claimed = false; }
};

} // namespace quorvane::test
