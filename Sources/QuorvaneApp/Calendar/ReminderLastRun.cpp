#include "Calendar/ReminderLastRun.h"

#include <QFile>
#include <QSaveFile>

namespace quorvane {

ReminderLastRun::ReminderLastRun(QString file)
    : m_file(std::move(file))
{
}

std::optional<Date> ReminderLastRun::read() const
{
    QFile file(m_file);
    if (m_file.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QDateTime moment = QDateTime::fromString(QString::fromUtf8(file.read(64)).trimmed(), Qt::ISODateWithMs);
    if (!moment.isValid())
        return std::nullopt;
    return fromDateTime(moment);
}

void ReminderLastRun::write(Date when) const
{
    if (m_file.isEmpty())
        return;
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(toDateTime(when).toString(Qt::ISODateWithMs).toUtf8() + '\n');
    file.commit();
}

} // namespace quorvane
