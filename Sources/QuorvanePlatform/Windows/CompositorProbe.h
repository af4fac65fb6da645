#pragma once

#include <functional>
#include <memory>

namespace quorvane {

// Whether a compositing manager draws the screen, so translucent windows show what lies
// behind them instead of black.
class CompositorProbe {
public:
    virtual ~CompositorProbe() = default;
    virtual bool compositing() const = 0;
    // Called whenever a compositing manager starts or stops (one observer; empty clears it).
    // A probe whose answer never changes calls nothing.
    virtual void setOnChange(std::function<void()> changed) { (void)changed; }
};

// X11: the _NET_WM_CM_S<screen> selection has an owner, asked afresh each time; a change of
// its owner is told through the XFixes selection events. The offscreen platform composes every
// window into its own image, so it counts as composited; any other platform without X11 counts
// as not composited and never changes.
class LinuxCompositorProbe final : public CompositorProbe {
public:
    LinuxCompositorProbe();
    ~LinuxCompositorProbe() override;
    bool compositing() const override;
    void setOnChange(std::function<void()> changed) override;

private:
    class Watch;
    std::unique_ptr<Watch> m_watch;
};

} // namespace quorvane
