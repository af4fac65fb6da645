#include "Desktop/AutomationPermission.h"

#include "AutomationProbe.h"
#include "Scheduler.h"
#include "ScriptRunner.h"

namespace quorvane {

const QByteArray AutomationPermission::finderIdentifier = QByteArrayLiteral("com.apple.finder");
const QString AutomationPermission::requestScript = QStringLiteral("tell application \"Finder\" to name of desktop");

AutomationPermission::AutomationPermission(AutomationProbe &probe, ScriptRunner &inProcess, Scheduler &scheduler)
    : m_probe(probe)
    , m_inProcess(inProcess)
    , m_scheduler(scheduler)
{
}

AutomationPermission::Status AutomationPermission::statusFor(int code)
{
    switch (code) {
    case 0:
        return Status::granted;
    case -1743:
        return Status::denied;
    case -1744:
        return Status::undetermined;
    default:
        return Status::unknown;
    }
}

AutomationPermission::Status AutomationPermission::finderStatus() const
{
    const auto code = m_probe.permissionToAutomate(finderIdentifier);
    return code ? statusFor(*code) : Status::unknown;
}

void AutomationPermission::request()
{
    ScriptRunner *runner = &m_inProcess;
    m_scheduler.after(0, [runner] {
        try {
            runner->run(requestScript);
        } catch (...) {
        }
    });
}

} // namespace quorvane
