#include "GSettingsTool.h"

#include <QProcess>

namespace quorvane::gsettings {

Result run(const QStringList &arguments)
{
    constexpr int limitMs = 5000;
    Result result;
    QProcess process;
    process.start(QStringLiteral("gsettings"), arguments);
    if (!process.waitForStarted(limitMs)) {
        result.error = process.errorString();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished(limitMs);
        result.error = QStringLiteral("gsettings did not finish within 5 seconds");
        return result;
    }
    result.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    result.error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!result.ok && result.error.isEmpty())
        result.error = QStringLiteral("gsettings exited with status %1").arg(process.exitCode());
    return result;
}

} // namespace quorvane::gsettings
