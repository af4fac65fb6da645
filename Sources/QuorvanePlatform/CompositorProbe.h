#pragma once

namespace quorvane {

// Whether a compositing manager draws the screen, so translucent windows show what lies
// behind them instead of black.
class CompositorProbe {
public:
    virtual ~CompositorProbe() = default;
    virtual bool compositing() const = 0;
};

// X11: the _NET_WM_CM_S<screen> selection has an owner, asked afresh each time. The offscreen
// platform composes every window into its own image, so it counts as composited; any other
// platform without X11 counts as not composited.
class LinuxCompositorProbe final : public CompositorProbe {
public:
    bool compositing() const override;
    static LinuxCompositorProbe &shared();
};

} // namespace quorvane
