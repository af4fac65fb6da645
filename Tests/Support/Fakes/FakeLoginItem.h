#pragma once

#include "LoginItem.h"

namespace quorvane::test {

// A login item held in memory; failures on demand.
class FakeLoginItem final : public LoginItem {
public:
    bool isOn = false;
    std::optional<QString> failure; // returned by enable and disable while set
    int disables = 0;

    bool enabled() const override { return isOn; }
    std::optional<QString> enable() override
    {
        if (failure)
            return failure;
        isOn = true;
        return std::nullopt;
    }
    std::optional<QString> disable() override
    {
        ++disables;
        if (failure)
            return failure;
        isOn = false;
        return std::nullopt;
    }
};

} // namespace quorvane::test
