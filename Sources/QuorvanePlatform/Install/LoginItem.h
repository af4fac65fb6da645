#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// Whether the application starts when the user logs in. The system's entry is the truth:
// nothing here keeps a state of its own.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool isEnabled() const = 0;
    // Each answers the failure's text, none on success.
    virtual std::optional<QString> registerItem() = 0;
    virtual std::optional<QString> unregisterItem() = 0;
};

} // namespace quorvane
