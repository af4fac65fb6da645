#pragma once

#include "Calendar/TimerOp.h"
#include "CleanupTask.h"
#include "Config.h"
#include "Date.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace quorvane {

// One entry of the cleanup calendar: an open cleanup reminder or a desktop's timer.
struct CalendarItem {
    // "clean:" + the task's UUID (upper case), or "timer:" + the desktop's name.
    QString id;
    std::variant<CleanupTask, TimerOp> kind;
    Date date = 0;
    QStringList stops;      // colour hexes the circle shows, in order
    bool mergeable = false; // cleanups only
    bool autoTimer = false; // a desktop timer, drawn with a ring
    bool idle = false;      // the timer counts from the last visit

    const CleanupTask *task() const { return std::get_if<CleanupTask>(&kind); }
    const TimerOp *timer() const { return std::get_if<TimerOp>(&kind); }
    // The local day it falls on.
    QDate day() const;
};

// The colour of a circle without colours of its own.
inline const QString calendarGrayHex = QStringLiteral("#8E8E93");

// The local day of a document date, and the document date of a local day's start.
QDate localDay(Date date);
Date startOfDay(const QDate &day);

// The open cleanups in stored order, then the timers in the order given.
std::vector<CalendarItem> calendarItems(const Config &config, const std::vector<TimerOp> &timers);
// The colour hexes of the task's member desktops, or gray alone when none has one.
QStringList taskColors(const Config &config, const CleanupTask &task);
// The member names of the open tasks due on day, each once, in first-seen order.
QStringList cleanupMembers(const Config &config, const QDate &day);

} // namespace quorvane
