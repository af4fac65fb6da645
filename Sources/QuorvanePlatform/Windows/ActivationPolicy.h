#pragma once

namespace quorvane {

// Whether the application shows itself as a regular application with its own taskbar entry,
// or only as its status item (the accessory mode it starts in).
class ActivationPolicy {
public:
    enum class Mode {
        accessory,
        regular
    };

    virtual ~ActivationPolicy() = default;
    virtual void setMode(Mode mode) = 0;
    // Brings the application's windows to the front and gives it the keyboard focus.
    virtual void activate() = 0;
};

} // namespace quorvane
