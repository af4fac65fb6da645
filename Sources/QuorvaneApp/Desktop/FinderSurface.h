#pragma once

#include "DesktopSurface.h"
#include "FileSystemSurface.h"

#include <QString>

namespace quorvane {

class ScriptRunner;

// The surface the application uses: file work goes to a FileSystemSurface; icon positions are
// read from the file manager by a script run as a child process (reads parse its printed
// reply) and written by a script run in process. Script failures are thrown as
// FinderError::appleScript. An empty list or map never starts a script.
class FinderSurface : public DesktopSurface {
public:
    // inProcess runs the writes; subprocess (the command-line script tool) runs the reads.
    FinderSurface(const QString &desktop, const QString &workspacesRoot, ScriptRunner &inProcess,
                  ScriptRunner &subprocess);

    bool sameVolume() override;
    QStringList items(const Location &at) override;
    void move(const QString &name, const Location &from, const Location &to) override;
    std::optional<IconPosition> readPosition(const QString &name) override;
    IconPositions readPositions(const QStringList &names) override;
    void writePosition(const IconPosition &position, const QString &name) override;
    void writePositions(const IconPositions &positions) override;
    void carryPositions(const Location &from, const Location &to) override;
    void checkFolders(const QList<Location> &folders) override;

    FileSystemSurface files;

private:
    std::optional<QString> runSubprocess(const QString &script);
    std::optional<QString> runScript(const QString &script);

    ScriptRunner &m_inProcess;
    ScriptRunner &m_subprocess;
};

} // namespace quorvane
