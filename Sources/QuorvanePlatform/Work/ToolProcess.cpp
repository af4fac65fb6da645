#include "Work/ToolProcess.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace quorvane {

ToolResult runTool(const QString &program, const QStringList &arguments)
{
    constexpr int limitMs = 5000;
    ToolResult result;
    QProcess process;
    endWithThisProcess(process);
    process.start(program, arguments);
    if (!process.waitForStarted(limitMs)) {
        result.error = program + QStringLiteral(": ") + process.errorString();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished(limitMs);
        result.error = program + QStringLiteral(" did not finish within 5 seconds");
        return result;
    }
    result.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    result.error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!result.ok && result.error.isEmpty())
        result.error = program + QStringLiteral(" exited with status %1").arg(process.exitCode());
    return result;
}

void endWithThisProcess(QProcess &process)
{
    const pid_t parent = ::getpid();
    // Runs in the child between fork and exec: only async-signal-safe calls.
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
    });
}

} // namespace quorvane
