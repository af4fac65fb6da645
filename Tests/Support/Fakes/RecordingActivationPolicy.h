#pragma once

#include "Windows/ActivationPolicy.h"

#include <optional>
#include <vector>

namespace quorvane::test {

// Records the calls it receives, in order.
class RecordingActivationPolicy final : public ActivationPolicy {
public:
    enum class Call {
        accessory,
        regular,
        activate
    };
    std::vector<Call> calls;

    void setMode(Mode mode) override { calls.push_back(mode == Mode::accessory ? Call::accessory : Call::regular); }
    void activate() override { calls.push_back(Call::activate); }
    // The mode last set, if any.
    std::optional<Mode> mode() const
    {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
            if (*it != Call::activate)
                return *it == Call::accessory ? Mode::accessory : Mode::regular;
        }
        return std::nullopt;
    }
};

} // namespace quorvane::test
