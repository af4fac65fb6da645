// Requests from outside the process (the command line, the desktop's own shortcuts that run it):
// each takes the road of the hot key that asks for the same, with its guards.
#include "Controller/AppController.h"

#include <QPointer>

namespace quorvane {

void AppController::publishCommands()
{
    if (!m_env.commands)
        return;
    QPointer<AppController> weak(this);
    m_env.commands->setStateSource([weak] { return weak ? weak->commandState() : AppCommandState{}; });
    connect(m_env.commands, &AppCommandService::requested, this, &AppController::runCommand, Qt::UniqueConnection);
    m_env.commands->publish();
}

AppCommandState AppController::commandState()
{
    const Config config = loadOrDefault();
    AppCommandState state;
    for (const Workspace &workspace : config.liveWorkspaces())
        state.liveDesktops << workspace.name;
    state.activeDesktop = config.activeWorkspace;
    state.blankActive = config.activeWorkspace == Config::blankWorkspaceName;
    state.busy = isBusy();
    if (storeReadOnly)
        state.refusal = QStringLiteral("the desktops' document is from a newer version of Quorvane");
    else if (desktopIsUnsafe())
        state.refusal = QStringLiteral("the Desktop folder is the home folder, or holds the desktops folder");
    else if (!m_dataLock.held())
        state.refusal = QStringLiteral("another process works on the desktops folder");
    return state;
}

void AppController::runCommand(const AppCommand &command)
{
    switch (command.kind) {
    case AppCommand::Kind::switchTo:
        switchToLiveDesktop(command.desktop);
        return;
    case AppCommand::Kind::next:
        cycle(1);
        return;
    case AppCommand::Kind::previous:
        cycle(-1);
        return;
    case AppCommand::Kind::hideDesktop:
        toggleCollapse();
        return;
    case AppCommand::Kind::carousel:
        cycleOptionClick();
        return;
    case AppCommand::Kind::showSettings:
        openSettings();
        return;
    }
}

} // namespace quorvane
