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
    m_commit = std::move(commit);
    m_token = m_scheduler.after(m_seconds, [this] { fire(); });
}

void DebouncedCommit::cancel()
{
    if (m_token)
        m_scheduler.cancel(*m_token);
    m_token.reset();
    m_commit = nullptr;
}

void DebouncedCommit::flush()
{
    if (!m_token)
        return;
    m_scheduler.cancel(*m_token);
    fire();
}

void DebouncedCommit::fire()
{
    m_token.reset();
    // Taken out first: the commit may start the next one.
    std::function<void()> commit = std::move(m_commit);
    m_commit = nullptr;
    if (commit)
        commit();
}

} // namespace quorvane
