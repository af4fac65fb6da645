#pragma once

#include <QString>

namespace quorvane {

// One tile of the floating dock; identified by name.
struct DockSurface {
    QString name;
    QString colorHex;
    QString folderPath;
    bool isActive = false;

    bool operator==(const DockSurface &) const = default;
};

// The half of the screen's visible frame the dock's centre lies in.
enum class DockHalf {
    upper,
    lower,
    leading,
    trailing
};

} // namespace quorvane
