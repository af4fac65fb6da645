#pragma once

#include <QDate>
#include <QLocale>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quorvane {

// The date arithmetic of the month calendar, in local days.
namespace MonthGrid {

// How a day number is drawn: past days fade the most, days of the neighbouring months less.
enum class DayTone {
    primary,
    tertiary,
    quaternary
};

// rows × 7 days from the first weekday of the week that holds the 1st of anchor's month.
std::vector<QDate> days(const QDate &anchor, int rows, Qt::DayOfWeek firstDay);
// The narrow stand-alone weekday names, starting with firstDay.
QStringList weekdaySymbols(const QLocale &locale, Qt::DayOfWeek firstDay);
// The stand-alone month name and the year, in the locale's order.
QString monthTitle(const QDate &anchor, const QLocale &locale);
// The long date without the year, the month abbreviated: "Monday 10 Mar".
QString dayHeading(const QDate &day, const QLocale &locale);
// anchor moved by delta months; the day is kept where the month has it, else its last day.
QDate shiftMonth(const QDate &anchor, int delta);
bool isPast(const QDate &day, const QDate &today);
DayTone tone(const QDate &day, const QDate &anchor, const QDate &today);

} // namespace MonthGrid

} // namespace quorvane
