#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// The main display's current Space (virtual desktop).
struct SpaceInfo {
    QString identity;          // the Space's own identifier, or "primary-space"
    bool isUser = true;        // false for a full-screen Space
    std::optional<int> number; // 1-based among the main display's user Spaces

    bool operator==(const SpaceInfo &) const = default;
};

// Tells which Space is active, where the window system lets us read it.
class SpaceIdentifier {
public:
    virtual ~SpaceIdentifier() = default;
    // True when Spaces can be read at all.
    virtual bool available() const = 0;
    // None when not available or nothing can be read.
    virtual std::optional<SpaceInfo> activeSpace() const = 0;

    // The process's one identifier.
    static SpaceIdentifier &shared();
};

// Virtual desktops are not read here yet: never available, no active Space.
class LinuxSpaceIdentifier final : public SpaceIdentifier {
public:
    bool available() const override;
    std::optional<SpaceInfo> activeSpace() const override;
};

} // namespace quorvane
