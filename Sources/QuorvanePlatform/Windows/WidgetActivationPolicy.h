#pragma once

#include "Windows/ActivationPolicy.h"

namespace quorvane {

// The activation policy through window flags: in accessory mode the application's own windows
// are shown as tool windows, which the taskbar leaves out; in regular mode they get their
// original window type back. Popups, tool windows and windows that bypass the window manager
// (menus, overlays, the tray) are left alone.
class WidgetActivationPolicy final : public ActivationPolicy {
public:
    void setMode(Mode mode) override;
    void activate() override;
    Mode mode() const { return m_mode; }

private:
    Mode m_mode = Mode::regular;
};

} // namespace quorvane
