#pragma once

#include "Work/Scheduler.h"

#include <functional>
#include <optional>

namespace quorvane {

// Tells the user that the desktop has no status area only once a grace has passed without one
// (a panel that starts after the application at login is no missing status area), and takes
// the notice back when a status area appears after all.
class StatusAreaNotice {
public:
    static constexpr double graceSeconds = 15;

    struct Actions {
        std::function<void()> tell;     // shows the notice and the way in without the item
        std::function<void()> withdraw; // takes back what tell showed
    };

    StatusAreaNotice(Scheduler &scheduler, Actions actions);
    ~StatusAreaNotice();
    StatusAreaNotice(const StatusAreaNotice &) = delete;
    StatusAreaNotice &operator=(const StatusAreaNotice &) = delete;

    // The status item has a status area to show in, or has none (at the start and on every
    // change).
    void statusAreaAvailable(bool available);
    bool told() const { return m_told; }

private:
    Scheduler &m_scheduler;
    Actions m_actions;
    std::optional<Scheduler::Token> m_grace;
    bool m_told = false;
    bool m_everTold = false;
};

} // namespace quorvane
