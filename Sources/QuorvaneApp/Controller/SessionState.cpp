#include "Controller/SessionState.h"

namespace quorvane {

SessionState::SessionState(const QString &dataLockPath, QObject *parent)
    : QObject(parent)
    , m_dataLock(dataLockPath)
{
}

void SessionState::beginSwitch(const QString &target)
{
    m_pending = target;
    emit changed();
}

void SessionState::endSwitch(const std::optional<QString> &left)
{
    if (left)
        m_previous = left;
    m_pending.reset();
    emit changed();
}

void SessionState::setReadOnly()
{
    if (m_readOnly)
        return;
    m_readOnly = true;
    emit changed();
}

} // namespace quorvane
