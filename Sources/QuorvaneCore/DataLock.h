#pragma once

#include <cerrno>

#include <QString>

namespace quorvane {

// The exclusive lock of one desktops folder: the process that works on it holds an flock on a
// file in its store for as long as it lives (the descriptor is closed on exec, so no child
// keeps it). Two processes never work on one desktops folder, whatever their identity or
// runtime folder.
class DataLock {
public:
    explicit DataLock(const QString &path);
    ~DataLock();
    DataLock(const DataLock &) = delete;
    DataLock &operator=(const DataLock &) = delete;

    // Creates the lock file's folder when missing and takes the lock. False when it cannot be
    // had: another process holds it, or the file cannot be made or opened (heldElsewhere()
    // tells which).
    bool acquire();
    bool held() const { return m_fd >= 0; }
    // Whether the last failed acquire() found the lock taken by another process; otherwise
    // lastError() is the errno of the step that failed (the folder or the file).
    bool heldElsewhere() const { return m_error == EWOULDBLOCK; }
    int lastError() const { return m_error; }
    QString path() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
    int m_error = 0;
};

} // namespace quorvane
