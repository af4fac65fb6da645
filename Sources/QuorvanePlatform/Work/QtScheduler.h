#pragma once

#include "Work/Scheduler.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace quorvane {

// Scheduler on Qt's event loop.
class QtScheduler final : public Scheduler {
public:
    Token after(double seconds, std::function<void()> fn) override;
    Token every(double seconds, std::function<void()> fn) override;
    void cancel(Token token) override;

private:
    Token start(double seconds, bool repeating, std::function<void()> fn);
    Token m_next = 1;
    std::map<Token, std::unique_ptr<QTimer>> m_timers;
};

} // namespace quorvane
