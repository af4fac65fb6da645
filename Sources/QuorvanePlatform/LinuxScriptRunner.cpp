#include "ScriptRunner.h"

namespace quorvane {

std::optional<QString> LinuxScriptRunner::run(const QString &)
{
    throw ScriptError(QStringLiteral("could not create script"));
}

} // namespace quorvane
