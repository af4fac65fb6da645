#pragma once

#include "Files/RunningInstances.h"

#include <QString>

namespace quorvane {

// Running instances through a lock file "<identifier>.pid" in the runtime folder. The
// instance that holds an exclusive lock on the file is running; the file holds its process
// id. A file left by a process that is gone carries no lock and is ignored. An application
// without an identifier (the bare executable) sees no other instance and registers nothing.
class LockFileRunningInstances final : public RunningInstances {
public:
    // selfPid defaults to this process's id.
    LockFileRunningInstances(const QString &identifier, const QString &runtimeFolder, qint64 selfPid = 0);
    ~LockFileRunningInstances() override;
    LockFileRunningInstances(const LockFileRunningInstances &) = delete;
    LockFileRunningInstances &operator=(const LockFileRunningInstances &) = delete;

    // $XDG_RUNTIME_DIR, or Qt's fallback runtime folder when it is not set.
    static QString standardRuntimeFolder();

    bool claim() override;
    std::optional<qint64> otherInstancePid() const override;
    void release() override;

    QString lockFilePath() const { return m_path; }
    bool holdsClaim() const { return m_fd >= 0; }

private:
    QString m_path;
    qint64 m_selfPid;
    int m_fd = -1;
};

} // namespace quorvane
