#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace quorvane {

// Asks the system, never prompting the user, whether this application may automate the
// application with the given bundle identifier. The answer is the system's status code
// (0 granted, -1743 denied, -1744 not yet decided, anything else unknown); none when the
// target could not even be addressed.
class AutomationProbe {
public:
    // The status of a target application that does not exist.
    static constexpr std::int32_t noSuchApplication = -600;

    virtual ~AutomationProbe() = default;
    virtual std::optional<std::int32_t> permissionToAutomate(const QByteArray &bundleIdentifier) = 0;
};

// This platform has no such application and no consent store: every target is missing.
class LinuxAutomationProbe final : public AutomationProbe {
public:
    std::optional<std::int32_t> permissionToAutomate(const QByteArray &bundleIdentifier) override;
};

} // namespace quorvane
