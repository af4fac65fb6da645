#pragma once

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

namespace quorvane {

// The thread a switch's file work runs on, so that the event loop stays free while the items
// move: one piece of work at a time, whose end is told on the GUI thread, queued. Going away
// (the application quitting, a termination signal among the reasons) waits for the work under
// way: a journalled step is never left running while the objects it works with are destroyed.
class SwitchWorker final : public QObject {
public:
    using Work = std::function<void()>;

    SwitchWorker() = default;
    ~SwitchWorker() override;
    SwitchWorker(const SwitchWorker &) = delete;
    SwitchWorker &operator=(const SwitchWorker &) = delete;

    // Runs work on the worker's thread, then done on this object's thread from its event loop.
    // Inline (see setInline), both run at once on the caller's thread. The caller runs one piece
    // at a time.
    void run(Work work, Work done);
    bool running() const { return m_thread != nullptr; }
    // Waits until the work under way has ended; its done is not called then.
    void wait();

    // On: work and done run at once on the caller's thread, as a plain call would (tests that
    // look at a switch's effect right after asking for it). Off (the default): the thread.
    static void setInline(bool on);

private:
    std::unique_ptr<QThread> m_thread;
};

} // namespace quorvane
