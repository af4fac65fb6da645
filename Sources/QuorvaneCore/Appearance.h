#pragma once

#include "AppearanceMode.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace quorvane {

// The user's light or dark choice and accent colour. No accent: follow the system's accent.
struct Appearance {
    static const QString defaultAccentHex; // "#C79A5B"

    AppearanceMode mode = AppearanceMode::system;
    std::optional<QString> accentHex;

    bool operator==(const Appearance &) const = default;

    // Reads "mode", then the older documents' "accentSlot" into "customAccents" when present,
    // otherwise "accentHex".
    static Appearance fromJson(const QJsonObject &object);
    // Writes "mode", and "accentHex" when present.
    QJsonObject toJson() const;
};

} // namespace quorvane
