#include "SettingsViews/DebouncedCommit.h"

namespace quorvane {

DebouncedCommit::DebouncedCommit(Scheduler &scheduler, double seconds)
    : m_scheduler(scheduler)
    , m_seconds(seconds)
{
}

DebouncedCommit::~DebouncedCommit() { cancel(); }

void DebouncedCommit::start(std::function<void()> commit)
{
    cancel();
    m_token = m_scheduler.after(m_seconds, [this, commit = std::move(commit)] {
        m_token.reset();
        commit();
    });
}

void DebouncedCommit::cancel()
{
    if (m_token)
        m_scheduler.cancel(*m_token);
    m_token.reset();
}

} // namespace quorvane
