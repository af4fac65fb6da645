#pragma once

#include "SpaceIdentifier.h"

namespace quorvane::test {

// A Space identifier whose answers the test sets.
class FakeSpaceIdentifier final : public SpaceIdentifier {
public:
    bool isAvailable = true;
    std::optional<SpaceInfo> active;

    bool available() const override { return isAvailable; }
    std::optional<SpaceInfo> activeSpace() const override { return isAvailable ? active : std::nullopt; }

    void moveTo(const QString &identity, bool isUser = true) { active = SpaceInfo{identity, isUser, std::nullopt}; }
};

} // namespace quorvane::test
