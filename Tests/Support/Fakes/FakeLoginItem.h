#pragma once

#include "Install/LoginItem.h"

namespace quorvane::test {

// A login item whose register and unregister can be made to fail.
class FakeLoginItem final : public LoginItem {
public:
    bool enabled = false;
    std::optional<QString> failure;
    int registered = 0;
    int unregistered = 0;

    bool isEnabled() const override { return enabled; }
    std::optional<QString> registerItem() override
    {
        ++registered;
        if (failure)
            return failure;
        enabled = true;
        return std::nullopt;
    }
    std::optional<QString> unregisterItem() override
    {
        ++unregistered;
        if (failure)
            return failure;
        enabled = false;
        return std::nullopt;
    }
};

} // namespace quorvane::test
