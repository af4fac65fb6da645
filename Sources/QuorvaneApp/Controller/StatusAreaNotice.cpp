#include "Controller/StatusAreaNotice.h"

#include <utility>

namespace quorvane {

StatusAreaNotice::StatusAreaNotice(Scheduler &scheduler, Actions actions)
    : m_scheduler(scheduler)
    , m_actions(std::move(actions))
{
}

StatusAreaNotice::~StatusAreaNotice()
{
    if (m_grace)
        m_scheduler.cancel(*m_grace);
}

void StatusAreaNotice::statusAreaAvailable(bool available)
{
    if (available) {
        if (m_grace)
            m_scheduler.cancel(*std::exchange(m_grace, std::nullopt));
        if (std::exchange(m_told, false) && m_actions.withdraw)
            m_actions.withdraw();
        return;
    }
    // Said once a launch: a status area that comes and goes again is not told about twice.
    if (m_everTold || m_grace)
        return;
    m_grace = m_scheduler.after(graceSeconds, [this] {
        m_grace.reset();
        m_told = true;
        m_everTold = true;
        if (m_actions.tell)
            m_actions.tell();
    });
}

} // namespace quorvane
