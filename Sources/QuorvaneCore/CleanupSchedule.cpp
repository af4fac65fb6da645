#include "CleanupSchedule.h"

namespace quorvane {

namespace {

QDateTime localMoment(Date date)
{
    return toDateTime(date).toLocalTime();
}

} // namespace

std::vector<CleanupFireTime> CleanupSchedule::fireTimes(Date taskDate, Date now, int notifyMinutes, bool repeatWhileOverdue)
{
    const QDate today = localMoment(now).date();
    const QDateTime startOfToday = today.startOfDay();

    std::vector<std::pair<QString, QDate>> candidates;
    candidates.emplace_back(QString(), localMoment(taskDate).date());
    if (repeatWhileOverdue && toDateTime(taskDate) < startOfToday) {
        for (int k : overdueOffsets) {
            const QDate day = today.addDays(k);
            if (day.isValid())
                candidates.emplace_back(QStringLiteral(".overdue%1").arg(k), day);
        }
    }

    std::vector<CleanupFireTime> out;
    const QTime time(notifyMinutes / 60, notifyMinutes % 60);
    for (const auto &[suffix, day] : candidates) {
        if (!day.isValid() || !time.isValid())
            continue;
        const QDateTime moment(day, time, Qt::LocalTime);
        if (!moment.isValid())
            continue;
        const Date fire = fromDateTime(moment);
        if (fire > now)
            out.push_back(CleanupFireTime{suffix, fire});
    }
    return out;
}

} // namespace quorvane
