#pragma once

#include <functional>

namespace quorvane {

// Work on the desktop's own tools (its settings daemons, its command-line tools, its desktop
// host) that needs no answer on the GUI thread: run one job after another, in the order
// posted, on a thread of its own, so that a tool that is slow or hangs never holds the event
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
