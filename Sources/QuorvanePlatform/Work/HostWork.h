#pragma once

#include <functional>

namespace quorvane {

// The rule of threads. Everything lives on the GUI thread: the controller and its coordinators,
// the document service, the views, the status item, every QObject with a signal. Work leaves it
// only in three ways, all on Qt's thread pool, and never on a bare std::thread:
// - the switch's file work (SwitchWorker): it touches only what the engine is handed for that
//   one switch (its swapper, the FinderSurface, and the engine store it writes through under
//   the document service's hold), and its end is told on the GUI thread, queued;
// - work on the desktop's own tools (HostWork, below): child processes, bus calls, the desktop
//   host's store; in the order asked, its answers delivered to the GUI thread (deliver, or the
//   `then` of post);
// - self-contained work that needs no order (PoolWork: a fade's frames, the font database's
//   first read).
// No child process is ever waited for on the GUI thread: a tool's answer comes through HostWork,
// or through a QProcess driven by its signals.

// Work on the desktop's own tools (its settings daemons, its command-line tools, its desktop
// host) that needs no answer on the GUI thread: run one job after another, in the order
// posted, on a pool of one thread of its own, so that a tool that is slow or hangs never holds the event
// loop. Each tool call keeps its own time limit, so a job whose tool does not answer in time is
// logged and skipped by the code that posted it; the jobs after it still run.
namespace HostWork {

using Job = std::function<void()>;

// Queues the job. Without a running application (or once it is gone) the job runs at once.
void post(Job job);

// Runs `then` on the GUI thread once the job has run (with the application's event loop).
void post(Job job, Job then);

// Runs the job on the GUI thread: at once when called there (or without an application), else
// queued to its event loop. For what a job has to tell (a log line, a result).
void deliver(Job job);

// Waits until every job posted so far has run, at most limitMs; false when some had not. For
// a step that needs the effect of what was posted (an uninstall, the end of the process, tests).
bool drain(int limitMs = 10000);

// Whether a job is queued or running.
bool busy();

// On: every job runs at once on the caller's thread, as a plain call would (tests that look at
// an effect right after asking for it). Off (the default): the worker.
void setInline(bool on);

} // namespace HostWork

} // namespace quorvane
