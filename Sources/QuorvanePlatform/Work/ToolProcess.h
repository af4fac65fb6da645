#pragma once

#include <QString>
#include <QStringList>

class QProcess;

namespace quorvane {

struct ToolResult {
    bool ok = false;
    QString output; // standard output, trimmed
    QString error;  // the tool's error text, or why it could not run
};

// Runs a desktop's command-line tool as a child process, blocking for at most five seconds
// without serving events. A missing tool, a non-zero exit and a child that does not finish in
// time are failures; the error then names what went wrong. Called from the host work's thread
// (HostWork) for anything a switch or a click asks of the desktop, so that the wait holds no
// event loop.
ToolResult runTool(const QString &program, const QStringList &arguments);

// Makes the child that process starts next end with this process, however this one ends (a
// kill -9 included): the kernel sends it SIGTERM when its parent goes. A child whose parent is
// gone before it could ask for that ends at once.
void endWithThisProcess(QProcess &process);

} // namespace quorvane
