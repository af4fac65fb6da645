#pragma once

#include <QDateTime>

#include <cmath>

namespace quorvane {

// Dates of the document: seconds since 2001-01-01T00:00:00Z, with fractions.
using Date = double;

// Seconds between the Unix epoch and 2001-01-01T00:00:00Z.
inline constexpr double referenceDateOffset = 978307200.0;

inline QDateTime toDateTime(Date date)
{
    return QDateTime::fromMSecsSinceEpoch(std::llround((date + referenceDateOffset) * 1000.0), Qt::UTC);
}

inline Date fromDateTime(const QDateTime &moment)
{
    return double(moment.toMSecsSinceEpoch()) / 1000.0 - referenceDateOffset;
}

inline Date dateNow()
{
    return fromDateTime(QDateTime::currentDateTimeUtc());
}

} // namespace quorvane
