#pragma once

#include "ScriptRunner.h"

#include <QString>

namespace quorvane {

// Runs a script through the command-line script tool as a child process: `TOOL -e SCRIPT`.
// Blocks the calling thread until the child exits, with no time limit, reading both of its
// output pipes while it waits (so a reply of any size never stalls it) and serving no events.
//   exit status 0: standard output as UTF-8, trimmed; none when empty or not valid UTF-8;
//   anything else: ScriptError with standard error, trimmed (empty when not valid UTF-8);
//   a tool that cannot be started: ScriptError with the system's error text.
class ScriptProcess final : public ScriptRunner {
public:
    static const QString defaultTool; // "/usr/bin/osascript"

    explicit ScriptProcess(const QString &tool = defaultTool);

    QString tool() const { return m_tool; }
    std::optional<QString> run(const QString &script) override;

private:
    QString m_tool;
};

} // namespace quorvane
