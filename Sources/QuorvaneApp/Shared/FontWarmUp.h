#pragma once

#include <QFuture>

namespace quorvane {

// Reads the font database once, as the application starts, on a thread of the pool (PoolWork). An
// application that lives in the status area draws its first text when the user first opens its
// menu, and the first text reads every font folder's cache; a folder whose cache is out of date
// is scanned again under a file lock, which other programs scanning the same folder may hold for
// seconds on a busy machine. Read here, that wait falls on this thread, and the menu finds the
// database ready. Qt's font database is safe to read from any thread; a window that needs it
// meanwhile waits for this read as it would for its own.
class FontWarmUp {
public:
    FontWarmUp();
    // Waits for the read: the application's objects must outlive it.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

private:
    QFuture<void> m_read;
};

} // namespace quorvane
