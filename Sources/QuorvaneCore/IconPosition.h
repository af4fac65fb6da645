#pragma once

#include <QJsonObject>

#include <cstdint>

namespace quorvane {

// A desktop icon's position in the file manager's desktop coordinates.
struct IconPosition {
    std::int64_t x = 0;
    std::int64_t y = 0;

    bool operator==(const IconPosition &) const = default;

    // Both keys required.
    static IconPosition fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace quorvane
