#pragma once

#include "Windows/PointerSource.h"

namespace quorvane::test {

// A pointer the test moves; unreadable when state is none. With notifies set it tells its
// change handler of every move, as the X server's motion events do; otherwise it must be polled.
class FakePointerSource final : public PointerSource {
public:
    std::optional<State> state;
    mutable int reads = 0;
    bool notifies = false;
    std::function<void()> onChange;

    std::optional<State> read() const override
    {
        ++reads;
        return state;
    }
    bool notifyChanges(std::function<void()> handler) override
    {
        if (!notifies)
            return false;
        onChange = std::move(handler);
        return true;
    }
    void moveTo(double x, double y, bool held = false)
    {
        state = State{QPointF(x, y), held};
        if (onChange)
            onChange();
    }
};

} // namespace quorvane::test
