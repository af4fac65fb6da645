#include "Calendar/CleanupNotifier.h"

#include "CleanupSchedule.h"
#include "JsonCoding.h"

#include <QCoreApplication>
#include <algorithm>

namespace quorvane {

const QString CleanupNotifier::prefix = QStringLiteral("quorvane.cleanup.");
const QString CleanupNotifier::title = QCoreApplication::translate("CleanupNotifier", "Desktop cleanup");

CleanupNotifier::CleanupNotifier(const QString &appIdentifier, std::unique_ptr<NotificationScheduler> center,
                                 std::function<Date()> now, DocumentService *documents)
    : m_appIdentifier(appIdentifier)
    , m_center(std::move(center))
    , m_now(std::move(now))
{
    if (!documents)
        return;
    using Change = DocumentService::Change;
    QObject::connect(documents, &DocumentService::changed, &m_listening,
                     [this](const Config &config, DocumentService::Changes what) {
                         if (what & (Change::cleanupTasks | Change::settings | Change::state))
                             sync(config);
                     });
}

std::vector<NotificationRequest> CleanupNotifier::requests(const Config &config, Date now)
{
    std::vector<NotificationRequest> out;
    const AppSettings &settings = config.settings;
    for (const CleanupTask &task : config.openCleanupTasks()) {
        const QString base = prefix + json::fromUuid(task.id).toString();
        const auto times = CleanupSchedule::fireTimes(task.date, now, int(settings.cleanupNotifyMinutes),
                                                      settings.cleanupNotifyRepeat);
        for (const CleanupFireTime &fire : times)
            out.push_back(NotificationRequest{base + fire.suffix, title, body(task.members), settings.cleanupNotifySound,
                                              toDateTime(fire.date)});
    }
    return out;
}

std::vector<NotificationRequest> CleanupNotifier::missedRequests(const Config &config, Date lastRun, Date now)
{
    std::vector<NotificationRequest> out;
    if (lastRun >= now)
        return out;
    for (const NotificationRequest &request : requests(config, lastRun)) {
        const Date due = fromDateTime(request.fireDate);
        if (due > now)
            continue;
        // One per task: its requests share the task's identifier up to the suffix.
        const QString task = request.identifier.left(prefix.size() + 36);
        auto same = std::find_if(out.begin(), out.end(),
                                 [&](const NotificationRequest &r) { return r.identifier.startsWith(task); });
        if (same == out.end())
            out.push_back(request);
        else if (due > fromDateTime(same->fireDate))
            *same = request;
    }
    return out;
}

QString CleanupNotifier::body(const QStringList &names)
{
    if (names.isEmpty())
        return QCoreApplication::translate("CleanupNotifier", "You have desktops to sort.");
    if (names.size() == 1)
        return QCoreApplication::translate("CleanupNotifier", "\u201C%1\u201D is still waiting to be sorted.").arg(names.first());
    return QCoreApplication::translate("CleanupNotifier", "Desktops still waiting to be sorted: %1.").arg(names.join(QStringLiteral(", ")));
}

void CleanupNotifier::sync(const Config &config)
{
    if (m_appIdentifier.isEmpty())
        return;
    const Date now = m_now();
    std::vector<NotificationRequest> missed;
    if (!m_lookedForMissed) {
        m_lookedForMissed = true;
        if (const auto lastRun = m_lastRun.read())
            missed = missedRequests(config, *lastRun, now);
    }
    m_lastRun.write(now);
    m_center->removeAllPendingRequests();
    if (config.settings.muteCleanupNotifications || config.openCleanupTasks().empty())
        return;
    if (!m_requestedAuth) {
        m_requestedAuth = true;
        m_center->requestAuthorization();
    }
    for (const NotificationRequest &request : missed)
        m_center->post(request);
    for (const NotificationRequest &request : requests(config, now))
        m_center->add(request);
}

} // namespace quorvane
