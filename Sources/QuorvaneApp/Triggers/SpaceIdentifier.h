#pragma once

#include "Workspaces/SpaceProvider.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace quorvane {

// The main display's current Space (workspace).
struct SpaceInfo {
    QString identity;                           // the Space's "uuid", or "primary-space" without one
    bool isUser = true;                         // false for a full-screen Space
    std::optional<int> number;                  // 1-based among the main display's user Spaces
    std::optional<QString> name = std::nullopt; // the window manager's own name for it, where it names them

    bool operator==(const SpaceInfo &) const = default;
};

// Tells which Space is active on the main display and numbers its user Spaces, reading the
// provider afresh on every question; a malformed answer counts as none. Main thread only.
class SpaceIdentifier {
public:
    explicit SpaceIdentifier(SpaceProvider &provider);

    // True when Spaces can be read at all.
    bool available() const { return m_provider.available(); }
    // None when not available or nothing can be read.
    std::optional<SpaceInfo> activeSpace() const;
    QStringList userSpaceIdentities() const;
    std::optional<int> userSpaceNumber(const QString &identity) const;
    // The window manager's own name of the Space (sway's workspaces are known by their names),
    // also for one it has removed while empty; none where Spaces are only numbered.
    std::optional<QString> spaceName(const QString &identity) const;

    SpaceProvider &provider() const { return m_provider; }

private:
    std::optional<QVariantMap> mainDisplayEntry() const;

    SpaceProvider &m_provider;
};

} // namespace quorvane
