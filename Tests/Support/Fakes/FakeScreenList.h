#pragma once

#include "Windows/CompositorProbe.h"
#include "Windows/ScreenList.h"

namespace quorvane::test {

// Two screens side by side unless a test sets others; set() notifies like a real change.
class FakeScreenList final : public ScreenList {
public:
    QList<QRect> screens{QRect(0, 0, 640, 400), QRect(640, 0, 320, 240)};
    QList<QRect> frames() const override { return screens; }
    void set(const QList<QRect> &frames)
    {
        screens = frames;
        notify();
    }
};

// A compositing manager that tests switch on and off.
class FakeCompositor final : public CompositorProbe {
public:
    bool on = true;
    std::function<void()> changed;
    bool compositing() const override { return on; }
    void setOnChange(std::function<void()> f) override { changed = std::move(f); }
};

} // namespace quorvane::test
