#pragma once

#include "DesktopHosts/HostProcessTable.h"

#include <functional>
#include <map>
#include <vector>

#include <unistd.h>

namespace quorvane::test {

// Processes as a map of pid to start time. An end handle is the read end of a pipe, readable
// once end() is called for its pid. afterWalk runs after a walk has picked its answer (what
// changes between the look and the handle).
class FakeHostProcessTable : public HostProcessTable {
public:
    struct Process {
        quint64 startTime = 0;
        bool host = true;
    };
    std::map<qint64, Process> processes;
    bool handles = true; // false: a kernel without pidfds
    std::function<void()> afterWalk;
    int walks = 0;
    int startTimeReads = 0;

    ~FakeHostProcessTable() override
    {
        for (const auto &[pid, end] : m_writeEnds)
            ::close(end);
    }

    void start(qint64 pid, quint64 startTime, bool host = true) { processes[pid] = {startTime, host}; }
    void end(qint64 pid)
    {
        processes.erase(pid);
        for (auto it = m_writeEnds.begin(); it != m_writeEnds.end();) {
            if (it->first != pid) {
                ++it;
                continue;
            }
            ::close(it->second); // the read end sees the end of the file
            it = m_writeEnds.erase(it);
        }
    }

    std::optional<DesktopHostProcess> findHost() override
    {
        ++walks;
        std::optional<DesktopHostProcess> found;
        for (const auto &[pid, process] : processes) {
            if (process.host) {
                found = DesktopHostProcess{QStringLiteral("xfdesktop"), {}, pid, {}, process.startTime};
                break;
            }
        }
        if (afterWalk)
            afterWalk();
        return found;
    }
    std::optional<quint64> startTime(qint64 pid) override
    {
        ++startTimeReads;
        const auto it = processes.find(pid);
        return it == processes.end() ? std::nullopt : std::optional<quint64>(it->second.startTime);
    }
    int endHandle(qint64 pid) override
    {
        int ends[2];
        if (!handles || !processes.count(pid) || ::pipe(ends) != 0)
            return -1;
        m_writeEnds.emplace_back(pid, ends[1]);
        return ends[0];
    }

private:
    std::vector<std::pair<qint64, int>> m_writeEnds;
};

} // namespace quorvane::test
