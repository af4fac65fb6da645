#pragma once

#include "SpaceIdentifier.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

// What the controller did with a settled Space.
enum class SpaceFollowResult { busy, done, switched };

// Reports each newly settled user Space once, so the desktop bound to it can be switched to.
class SpaceFollower {
public:
    using Handler = std::function<SpaceFollowResult(const QString &identity)>;

    SpaceFollower(const SpaceIdentifier &identifier, Handler onSpaceSettled);

    // Nothing when already started or when Spaces cannot be read; otherwise takes the active
    // Space as handled and follows changes.
    void start();
    void stop();
    // While started: the active Space (when one can be identified) becomes the handled one, so
    // the Space a switch leaves the user on is not taken as a request.
    void adoptCurrentSpace();

    bool isStarted() const { return m_started; }
    const std::optional<QString> &lastHandled() const { return m_lastHandled; }
    int retries() const { return m_retries; }
    // The callback given at construction.
    const Handler &onSpaceSettled() const { return m_onSpaceSettled; }

private:
    const SpaceIdentifier &m_identifier;
    Handler m_onSpaceSettled;
    bool m_started = false;
    std::optional<QString> m_lastHandled;
    int m_retries = 0;
};

} // namespace quorvane
