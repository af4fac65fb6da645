#pragma once

#include "PointerSource.h"

namespace quorvane::test {

// A pointer the test moves; unreadable when state is none.
class FakePointerSource final : public PointerSource {
public:
    std::optional<State> state;
    mutable int reads = 0;

    std::optional<State> read() const override
    {
        ++reads;
        return state;
    }
    void moveTo(double x, double y, bool held = false) { state = State{QPointF(x, y), held}; }
};

} // namespace quorvane::test
