#include "Triggers/SpaceFollower.h"

#include "Shared/Log.h"
#include "Shared/ScreenCoordinates.h"

namespace quorvane {

SpaceFollower::SpaceFollower(const SpaceIdentifier &identifier, SessionEvents &session, Scheduler &scheduler,
                             Handler onSpaceSettled, DocumentService *documents)
    : m_identifier(identifier)
    , m_session(session)
    , m_scheduler(scheduler)
    , m_onSpaceSettled(std::move(onSpaceSettled))
{
    if (!documents)
        return;
    using Change = DocumentService::Change;
    QObject::connect(documents, &DocumentService::changed, &m_listening,
                     [this](const Config &config, DocumentService::Changes what) {
                         if (!(what & (Change::settings | Change::state)))
                             return;
                         m_wanted = config.settings.followSpaces;
                         refresh();
                     });
}

void SpaceFollower::refresh()
{
    if (!m_wanted || !m_identifier.available()) {
        stop();
        return;
    }
    if (isStarted())
        return;
    start();
    if (isStarted())
        qCInfo(Log::app()) << "following workspaces";
}

SpaceFollower::~SpaceFollower()
{
    stop();
}

void SpaceFollower::start()
{
    if (m_spaceObserver || !m_identifier.available())
        return;
    const auto active = m_identifier.activeSpace();
    m_lastHandled = active ? std::optional<QString>(active->identity) : std::nullopt;
    std::weak_ptr<bool> alive = m_alive;
    m_spaceObserver = m_session.observeWorkspaceChange([this, alive] {
        if (alive.lock())
            activeSpaceChanged();
    });
    m_screenObserver = std::make_unique<QObject>();
    observeScreenChanges(m_screenObserver.get(), [this] { screenParametersChanged(); });
}

void SpaceFollower::stop()
{
    if (m_spaceObserver)
        m_session.removeObserver(*m_spaceObserver);
    m_spaceObserver.reset();
    m_screenObserver.reset();
    cancelPending();
    m_retries = 0;
}

void SpaceFollower::adoptCurrentSpace()
{
    if (!m_spaceObserver)
        return;
    cancelPending();
    if (const auto active = m_identifier.activeSpace())
        m_lastHandled = active->identity;
    m_retries = 0;
}

void SpaceFollower::activeSpaceChanged()
{
    if (!m_spaceObserver)
        return;
    m_retries = 0;
    schedule(settleDelay, &SpaceFollower::evaluate);
}

void SpaceFollower::screenParametersChanged()
{
    if (!m_spaceObserver)
        return;
    schedule(reconfigQuiet, &SpaceFollower::displaysChanged);
}

void SpaceFollower::schedule(double seconds, void (SpaceFollower::*step)())
{
    cancelPending();
    std::weak_ptr<bool> alive = m_alive;
    m_pending = m_scheduler.after(seconds, [this, alive, step] {
        if (!alive.lock())
            return;
        m_pending.reset();
        (this->*step)();
    });
}

void SpaceFollower::cancelPending()
{
    if (m_pending)
        m_scheduler.cancel(*m_pending);
    m_pending.reset();
}

void SpaceFollower::evaluate()
{
    const auto active = m_identifier.activeSpace();
    if (!active || !active->isUser || active->identity == m_lastHandled)
        return;
    reconcile(active->identity, &SpaceFollower::evaluate);
}

void SpaceFollower::verify()
{
    const auto active = m_identifier.activeSpace();
    if (!active || !active->isUser)
        return;
    reconcile(active->identity, &SpaceFollower::verify);
}

void SpaceFollower::reconcile(const QString &identity, void (SpaceFollower::*retry)())
{
    const SpaceFollowResult result = m_onSpaceSettled ? m_onSpaceSettled(identity) : SpaceFollowResult::done;
    switch (result) {
    case SpaceFollowResult::done:
        m_lastHandled = identity;
        m_retries = 0;
        break;
    case SpaceFollowResult::switched:
        m_lastHandled = identity;
        m_retries = 0;
        schedule(verifyDelay, &SpaceFollower::verify);
        break;
    case SpaceFollowResult::busy:
        if (m_retries >= maxRetries) {
            m_retries = 0; // give up; the next workspace change starts a new attempt
            break;
        }
        ++m_retries;
        schedule(retryDelay, retry);
        break;
    }
}

void SpaceFollower::displaysChanged()
{
    if (const auto active = m_identifier.activeSpace())
        m_lastHandled = active->identity;
}

} // namespace quorvane
