#pragma once

#include "Calendar/ReminderLastRun.h"
#include "Config.h"
#include "Date.h"
#include "Session/NotificationScheduler.h"
#include "Shared/DocumentService.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace quorvane {

// Keeps the pending cleanup reminders in line with the document's open cleanup tasks; given the
// document service, it syncs whenever the tasks or the settings change.
class CleanupNotifier {
public:
    static const QString prefix; // "quorvane.cleanup."
    static const QString title;  // "Desktop cleanup"

    // An empty appIdentifier: the bare executable, which posts no reminders.
    explicit CleanupNotifier(const QString &appIdentifier, std::unique_ptr<NotificationScheduler> center,
                             std::function<Date()> now = dateNow, DocumentService *documents = nullptr);

    // Replaces every pending reminder with those of the open tasks; none while muted. The first
    // sync of a run first shows, once per task, the latest reminder that fell due since the
    // kept last run; every sync keeps its time as the last run.
    void sync(const Config &config);
    // Where the last run is kept; nothing is kept without it.
    void keepLastRun(ReminderLastRun lastRun) { m_lastRun = std::move(lastRun); }

    // One request per open task and fire time: prefix + task UUID + the fire time's suffix.
    // Titled "Desktop cleanup", with body(task.members), silent unless cleanupNotifySound is on.
    static std::vector<NotificationRequest> requests(const Config &config, Date now);
    // Per open task, the latest reminder due after lastRun and no later than now.
    static std::vector<NotificationRequest> missedRequests(const Config &config, Date lastRun, Date now);
    // The reminder's text for the task's members, in member order.
    static QString body(const QStringList &names);

    bool requestedAuth() const { return m_requestedAuth; }

private:
    QString m_appIdentifier;
    std::unique_ptr<NotificationScheduler> m_center;
    std::function<Date()> m_now;
    bool m_requestedAuth = false;
    bool m_lookedForMissed = false;
    ReminderLastRun m_lastRun;
    QObject m_listening; // the document's connection ends with the notifier
};

} // namespace quorvane
