#include "Triggers/SpaceFollower.h"

namespace quorvane {

SpaceFollower::SpaceFollower(const SpaceIdentifier &identifier, Handler onSpaceSettled)
    : m_identifier(identifier)
    , m_onSpaceSettled(std::move(onSpaceSettled))
{
}

// No Space-change notifications reach the follower yet, so once started it only keeps the
// handled Space; nothing is ever pending and onSpaceSettled is not called.
void SpaceFollower::start()
{
    if (m_started || !m_identifier.available())
        return;
    const auto active = m_identifier.activeSpace();
    m_lastHandled = active ? std::optional<QString>(active->identity) : std::nullopt;
    m_started = true;
}

void SpaceFollower::stop()
{
    m_started = false;
    m_retries = 0;
}

void SpaceFollower::adoptCurrentSpace()
{
    if (!m_started)
        return;
    if (const auto active = m_identifier.activeSpace())
        m_lastHandled = active->identity;
    m_retries = 0;
}

} // namespace quorvane
