#pragma once

#include <QByteArray>
#include <QString>

namespace quorvane {

class AutomationProbe;
class Scheduler;
class ScriptRunner;

// Whether this application may automate the file manager, asked without prompting, and a way
// to provoke the system's consent prompt.
class AutomationPermission {
public:
    enum class Status { granted, denied, undetermined, unknown };

    // The bundle identifier asked about and the harmless script that provokes the prompt.
    static const QByteArray finderIdentifier; // "com.apple.finder"
    static const QString requestScript;       // tell application "Finder" to name of desktop

    AutomationPermission(AutomationProbe &probe, ScriptRunner &inProcess, Scheduler &scheduler);

    // Never prompts: 0 → granted, -1743 → denied, -1744 → undetermined, anything else (and a
    // target that cannot be addressed) → unknown.
    Status finderStatus() const;
    // Schedules the in-process run of requestScript on the main thread and returns at once;
    // its result and any error are ignored.
    void request();

    static Status statusFor(int code);

private:
    AutomationProbe &m_probe;
    ScriptRunner &m_inProcess;
    Scheduler &m_scheduler;
};

} // namespace quorvane
