#pragma once

#include "Session/SessionEvents.h"

#include <map>

namespace quorvane::test {

// A session whose wakes and workspace changes the test announces.
class FakeSessionEvents final : public SessionEvents {
public:
    Token observeWake(std::function<void()> observer) override { return add(m_wake, std::move(observer)); }
    Token observeWorkspaceChange(std::function<void()> observer) override { return add(m_workspace, std::move(observer)); }
    void removeObserver(Token token) override
    {
        m_wake.erase(token);
        m_workspace.erase(token);
    }

    void wake() { fire(m_wake); }
    void changeWorkspace() { fire(m_workspace); }
    std::size_t observerCount() const { return m_wake.size() + m_workspace.size(); }

private:
    using Observers = std::map<Token, std::function<void()>>;
    Token add(Observers &into, std::function<void()> observer)
    {
        into.emplace(++m_last, std::move(observer));
        return m_last;
    }
    static void fire(const Observers &observers)
    {
        const Observers copy = observers; // an observer may remove itself
        for (const auto &[token, observer] : copy)
            observer();
    }
    Observers m_wake, m_workspace;
    Token m_last = 0;
};

} // namespace quorvane::test
