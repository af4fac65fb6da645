#include "Calendar/MonthGrid.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorvane::MonthGrid {

std::vector<QDate> days(const QDate &anchor, int rows, Qt::DayOfWeek firstDay)
{
    std::vector<QDate> out;
    if (!anchor.isValid() || rows <= 0)
        return out;
    const QDate first(anchor.year(), anchor.month(), 1);
    const int lead = (first.dayOfWeek() - int(firstDay) + 7) % 7;
    const QDate start = first.addDays(-lead);
    out.reserve(std::size_t(rows) * 7);
    for (int i = 0; i < rows * 7; ++i) {
        const QDate day = start.addDays(i);
        if (day.isValid())
            out.push_back(day);
    }
    return out;
}

QStringList weekdaySymbols(const QLocale &locale, Qt::DayOfWeek firstDay)
{
    QStringList out;
    for (int i = 0; i < 7; ++i)
        out << locale.standaloneDayName((int(firstDay) - 1 + i) % 7 + 1, QLocale::NarrowFormat);
    return out;
}

QString monthTitle(const QDate &anchor, const QLocale &locale)
{
    const QString month = locale.standaloneMonthName(anchor.month(), QLocale::LongFormat);
    const QString year = locale.toString(anchor, QStringLiteral("yyyy"));
    const QString format = locale.dateFormat(QLocale::LongFormat);
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    if (y >= 0 && m >= 0 && y < m)
        return year + QLatin1Char(' ') + month;
    return month + QLatin1Char(' ') + year;
}

QString dayHeading(const QDate &day, const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::LongFormat);
    // Take the year out with the separators that joined it to the rest.
    static const QRegularExpression yearAtEnd(QStringLiteral("[\\s,.\\-/]*y+[年.]?\\s*$"));
    static const QRegularExpression yearAtStart(QStringLiteral("^\\s*y+[年.,\\-/]?\\s*"));
    static const QRegularExpression yearInside(QStringLiteral("[,]?\\s*y+[年]?"));
    if (format.contains(yearAtEnd))
        format.remove(yearAtEnd);
    else if (format.contains(yearAtStart))
        format.remove(yearAtStart);
    else
        format.remove(yearInside);
    static const QRegularExpression fullMonth(QStringLiteral("M{4,}"));
    format.replace(fullMonth, QStringLiteral("MMM"));
    return locale.toString(day, format.trimmed());
}

QDate shiftMonth(const QDate &anchor, int delta)
{
    const QDate moved = anchor.addMonths(delta);
    return moved.isValid() ? moved : anchor;
}

bool isPast(const QDate &day, const QDate &today)
{
    return day < today;
}

DayTone tone(const QDate &day, const QDate &anchor, const QDate &today)
{
    if (isPast(day, today))
        return DayTone::quaternary;
    if (day.year() == anchor.year() && day.month() == anchor.month())
        return DayTone::primary;
    return DayTone::tertiary;
}

} // namespace quorvane::MonthGrid
