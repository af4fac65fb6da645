#include "SettingsViews/DeskTexts.h"

#include "FileSystemSurface.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

namespace quorvane {

int visibleItemCount(const QString &folder) { return int(FileSystemSurface::listFolder(folder).size()); }

QString itemsText(int count)
{
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

QString trashConfirmationMessage(int itemCount)
{
    if (itemCount <= 0)
        return {};
    if (itemCount == 1)
        return QCoreApplication::translate("DeskTexts", "Its 1 file goes to the Trash with it, where you can recover it until you empty it.");
    return QCoreApplication::translate("DeskTexts", "Its %1 files go to the Trash with it, where you can recover them until you empty it.")
        .arg(itemCount);
}

QString trashConfirmationTitle(const QString &name)
{
    return QCoreApplication::translate("DeskTexts", "Move “%1” to the Trash?").arg(name);
}

QString relativeAge(Date then, Date now)
{
    const QDateTime from = toDateTime(then).toLocalTime();
    const QDateTime to = toDateTime(now).toLocalTime();
    const double seconds = std::max(0.0, now - then);
    // Whole calendar months and years, as a calendar counts them.
    int months = (to.date().year() - from.date().year()) * 12 + (to.date().month() - from.date().month());
    if (months > 0 && from.addMonths(months) > to)
        --months;
    if (months >= 12)
        return QCoreApplication::translate("DeskTexts", "%1 yr. ago").arg(months / 12);
    if (months >= 1)
        return QCoreApplication::translate("DeskTexts", "%1 mo. ago").arg(months);
    const auto days = std::int64_t(std::floor(seconds / 86400));
    if (days >= 7)
        return QCoreApplication::translate("DeskTexts", "%1 wk. ago").arg(days / 7);
    if (days >= 1)
        return days == 1 ? QStringLiteral("1 day ago") : QStringLiteral("%1 days ago").arg(days);
    const auto whole = std::int64_t(std::floor(seconds));
    if (whole >= 3600)
        return QCoreApplication::translate("DeskTexts", "%1 hr. ago").arg(whole / 3600);
    if (whole >= 60)
        return QCoreApplication::translate("DeskTexts", "%1 min. ago").arg(whole / 60);
    return QCoreApplication::translate("DeskTexts", "%1 sec. ago").arg(whole);
}

QString lastActiveText(const std::optional<Date> &lastActive, Date now)
{
    if (!lastActive)
        return QCoreApplication::translate("DeskTexts", "Not visited yet");
    return QCoreApplication::translate("DeskTexts", "Active %1").arg(relativeAge(*lastActive, now));
}

QString abbreviatedDate(Date date, const QLocale &locale)
{
    // The locale's long date without the weekday, its month name abbreviated.
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("d{4}[,.]?\\s*")));
    format.replace(QRegularExpression(QStringLiteral("M{4}")), QStringLiteral("MMM"));
    return locale.toString(toDateTime(date).toLocalTime().date(), format.trimmed());
}

} // namespace quorvane
