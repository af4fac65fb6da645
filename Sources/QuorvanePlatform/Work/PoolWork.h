#pragma once

#include <QFuture>

#include <functional>

namespace quorvane {

// Work away from the GUI thread that needs neither an order nor a thread of its own for long
// (a fade's frames, the font database's first read, a switch's file work) runs on Qt's thread
// pool; its future has finished once the work has run, and the work's captures are released
// on the pool's thread before that. What the work has to tell the GUI thread goes as a queued
// call (QMetaObject::invokeMethod, or a QFutureWatcher on the future). Work on the desktop's
// tools, which must run in the order asked, is HostWork's.
namespace PoolWork {

using Work = std::function<void()>;

// Runs the work on a thread of the pool once one is free.
QFuture<void> start(Work work);

// Runs the work on a thread of the pool at once, even when every thread of the pool is busy:
// work whose timing the user sees (a switch, a fade) never waits for another's end.
QFuture<void> startNow(Work work);

} // namespace PoolWork

} // namespace quorvane
