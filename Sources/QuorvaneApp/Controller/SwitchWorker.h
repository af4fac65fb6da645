#pragma once

#include <QFuture>
#include <QObject>

#include <functional>
#include <optional>

namespace quorvane {

// The rule of threads (written out in full in HostWork.h): the work run here touches only what
// the engine is handed for one switch (its swapper, the FinderSurface, and the engine store it
// writes through under the document service's hold; see FinderSurface.h for which of its members
// belong to this thread). Everything else (the document service, the controller, the
// coordinators, the windows, every signal) lives on the GUI thread, and what the work found
// reaches it as done, queued on the GUI thread's event loop.
//
// Where a switch's file work runs (a thread of the pool, PoolWork), so that the event loop stays
// free while the items move: one piece of work at a time, whose end is told on the GUI thread,
// queued. Going away (the application quitting, a termination signal among the reasons) waits
// for the work under way: a journalled step is never left running while the objects it works
// with are destroyed.
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
    bool running() const { return m_work.has_value(); }
    // Waits until the work under way has ended; its done is not called then.
    void wait();

    // On: work and done run at once on the caller's thread, as a plain call would (tests that
    // look at a switch's effect right after asking for it). Off (the default): the thread.
    static void setInline(bool on);

private:
    // The work under way, on a thread of the pool (PoolWork), until wait() has seen it end.
    std::optional<QFuture<void>> m_work;
};

} // namespace quorvane
