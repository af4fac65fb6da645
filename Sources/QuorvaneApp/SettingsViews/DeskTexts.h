#pragma once

#include "Date.h"

#include <QLocale>
#include <QString>

#include <optional>

namespace quorvane {

// The entries of a folder as the Desktop's listing counts them (no dot-names, no names that
// are not UTF-8); 0 when the folder cannot be listed. Taken afresh on every call.
int visibleItemCount(const QString &folder);
// The count beside folders: "1 item", else "%1 items".
QString itemsText(int count);

// The confirmation text of a move to the Trash; empty for no message.
QString trashConfirmationMessage(int itemCount);
// "Move “Work” to the Trash?"
QString trashConfirmationTitle(const QString &name);

// "5 min. ago", "2 hr. ago", "1 day ago", "3 days ago", "1 wk. ago", "2 mo. ago", "1 yr. ago":
// the largest whole unit of the time from then to now.
QString relativeAge(Date then, Date now);
// "Not visited yet", else "Active " and the relative age.
QString lastActiveText(const std::optional<Date> &lastActive, Date now);
// The date alone in the locale's abbreviated form ("Dec 9, 2025" in en_US), local time.
QString abbreviatedDate(Date date, const QLocale &locale = QLocale());

} // namespace quorvane
