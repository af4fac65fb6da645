#pragma once

#include <cstdint>
#include <functional>

namespace quorvane {

// What the session tells the application about itself: the machine woke from sleep, and the
// window manager's current workspace changed. Any number of observers; each is called on the
// main thread until it is removed.
class SessionEvents {
public:
    using Token = std::uint64_t;

    virtual ~SessionEvents() = default;
    virtual Token observeWake(std::function<void()> observer) = 0;
    virtual Token observeWorkspaceChange(std::function<void()> observer) = 0;
    virtual void removeObserver(Token token) = 0;
};

// A session that reports nothing: no wake, no workspace change. The default where the
// application runs without X11 or without a system bus.
class QuietSessionEvents final : public SessionEvents {
public:
    Token observeWake(std::function<void()>) override { return ++m_last; }
    Token observeWorkspaceChange(std::function<void()>) override { return ++m_last; }
    void removeObserver(Token) override {}

private:
    Token m_last = 0;
};

} // namespace quorvane
