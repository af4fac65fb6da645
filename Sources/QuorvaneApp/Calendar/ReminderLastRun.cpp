#include "Calendar/ReminderLastRun.h"

#include "RegularFile.h"

namespace quorvane {

ReminderLastRun::ReminderLastRun(QString file)
    : m_file(std::move(file))
{
}

std::optional<Date> ReminderLastRun::read() const
{
    const auto text = m_file.isEmpty() ? std::nullopt : RegularFile::readOrWarn(m_file, 64);
    if (!text)
        return std::nullopt;
    const QDateTime moment = QDateTime::fromString(QString::fromUtf8(*text).trimmed(), Qt::ISODateWithMs);
    if (!moment.isValid())
        return std::nullopt;
    return fromDateTime(moment);
}

void ReminderLastRun::write(Date when) const
{
    if (m_file.isEmpty())
        return;
    if (const auto failure = RegularFile::write(m_file, toDateTime(when).toString(Qt::ISODateWithMs).toUtf8() + '\n'))
        qWarning("reminders' last run not kept: %s", qUtf8Printable(*failure));
}

} // namespace quorvane
