#include "Calendar/CalendarModel.h"

namespace quorvane {

CalendarModel::ErrorClaim::ErrorClaim(CalendarModel &model)
    : m_model(model)
{
    ++m_model.m_errorClaims;
}

CalendarModel::ErrorClaim::~ErrorClaim() { --m_model.m_errorClaims; }

QString CalendarModel::trimmedName(const QString &name)
{
    const auto isBlank = [](QChar c) { return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; };
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && isBlank(name.at(begin)))
        ++begin;
    while (end > begin && isBlank(name.at(end - 1)))
        --end;
    return name.mid(begin, end - begin);
}

} // namespace quorvane
