#pragma once

#include "Session/SessionEvents.h"
#include "Shared/DocumentService.h"
#include "Triggers/SpaceIdentifier.h"
#include "Work/Scheduler.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace quorvane {

// What the controller did with a settled Space.
enum class SpaceFollowResult {
    busy,
    done,
    switched
};

// Reports each newly settled user Space once, so the desktop bound to it can be switched to.
// At most one step waits at a time: a settle after a workspace change, a retry after a busy
// answer, a verification after a switch, or a quiet period after the screens changed.
// Given the document service, it follows while the document asks it to and Spaces can be read.
class SpaceFollower {
public:
    using Handler = std::function<SpaceFollowResult(const QString &identity)>;

    static constexpr double settleDelay = 0.6;
    static constexpr double verifyDelay = 0.25;
    static constexpr double retryDelay = 0.3;
    static constexpr int maxRetries = 5;
    static constexpr double reconfigQuiet = 3.0;

    SpaceFollower(const SpaceIdentifier &identifier, SessionEvents &session, Scheduler &scheduler,
                  Handler onSpaceSettled, DocumentService *documents = nullptr);
    ~SpaceFollower();
    SpaceFollower(const SpaceFollower &) = delete;
    SpaceFollower &operator=(const SpaceFollower &) = delete;

    // Nothing when already started or when Spaces cannot be read; otherwise takes the active
    // Space as handled and follows workspace and screen changes.
    void start();
    void stop();
    // Starts or stops as the last document asked: Spaces may have become readable since.
    void refresh();
    // While started: the active Space (when one can be identified) becomes the handled one, so
    // the Space a switch leaves the user on is not taken as a request.
    void adoptCurrentSpace();

    // What the observers call.
    void activeSpaceChanged();
    void screenParametersChanged();

    bool isStarted() const { return m_spaceObserver.has_value(); }
    const std::optional<QString> &lastHandled() const { return m_lastHandled; }
    int retries() const { return m_retries; }
    bool hasPendingStep() const { return m_pending.has_value(); }
    // The callback given at construction.
    const Handler &onSpaceSettled() const { return m_onSpaceSettled; }

private:
    void schedule(double seconds, void (SpaceFollower::*step)());
    void cancelPending();
    void evaluate();
    void verify();
    void reconcile(const QString &identity, void (SpaceFollower::*retry)());
    void displaysChanged();

    const SpaceIdentifier &m_identifier;
    SessionEvents &m_session;
    Scheduler &m_scheduler;
    Handler m_onSpaceSettled;
    std::optional<SessionEvents::Token> m_spaceObserver;
    std::unique_ptr<QObject> m_screenObserver;
    std::optional<Scheduler::Token> m_pending;
    std::optional<QString> m_lastHandled;
    int m_retries = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_wanted = false;
    QObject m_listening;
};

} // namespace quorvane
