#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// Switches the desktop's light or dark mode.
class AppearanceSwitch {
public:
    virtual ~AppearanceSwitch() = default;
    // None on success, else a description of the failure.
    virtual std::optional<QString> setDark(bool dark) = 0;
};

// No colour-scheme setting is driven yet: every change fails.
class LinuxAppearanceSwitch final : public AppearanceSwitch {
public:
    std::optional<QString> setDark(bool dark) override;
};

} // namespace quorvane
