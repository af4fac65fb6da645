#include "Calendar/CalendarItem.h"

#include "JsonCoding.h"

namespace quorvane {

QDate CalendarItem::day() const
{
    return localDay(date);
}

QDate localDay(Date date)
{
    return toDateTime(date).toLocalTime().date();
}

Date startOfDay(const QDate &day)
{
    return fromDateTime(day.startOfDay());
}

QStringList taskColors(const Config &config, const CleanupTask &task)
{
    QStringList stops = config.taskColorStops(task);
    if (stops.isEmpty())
        stops << calendarGrayHex;
    return stops;
}

std::vector<CalendarItem> calendarItems(const Config &config, const std::vector<TimerOp> &timers)
{
    std::vector<CalendarItem> items;
    for (const CleanupTask &task : config.openCleanupTasks()) {
        CalendarItem item;
        item.id = QStringLiteral("clean:") + json::fromUuid(task.id).toString();
        item.kind = task;
        item.date = task.date;
        item.stops = taskColors(config, task);
        item.mergeable = true;
        items.push_back(std::move(item));
    }
    for (const TimerOp &timer : timers) {
        CalendarItem item;
        item.id = QStringLiteral("timer:") + timer.workspace;
        item.kind = timer;
        item.date = timer.date;
        item.stops = QStringList{timer.colorHex};
        item.autoTimer = true;
        item.idle = timer.idle;
        items.push_back(std::move(item));
    }
    return items;
}

QStringList cleanupMembers(const Config &config, const QDate &day)
{
    QStringList names;
    for (const CleanupTask &task : config.openCleanupTasks()) {
        if (localDay(task.date) != day)
            continue;
        for (const QString &name : task.members) {
            if (!names.contains(name))
                names << name;
        }
    }
    return names;
}

} // namespace quorvane
