// Switch requests other than the switch itself: the carousel, cycling, back to the last desktop,
// hiding the Desktop; and requests from outside the process (the command line, the desktop's own
// shortcuts that run it), each taking the road of the hot key that asks for the same. Every one
// enters the request gate as an intent and is resolved only when taken.
#include "Controller/AppController.h"
#include "Settings/SettingsModel.h"

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
    const Config config = document();
    AppCommandState state;
    for (const Workspace &workspace : config.liveWorkspaces())
        state.liveDesktops << workspace.name;
    state.activeDesktop = config.activeWorkspace;
    state.blankActive = config.activeWorkspace == Config::blankWorkspaceName;
    state.busy = m_gate.busy();
    if (readOnly())
        state.refusal = tr("the desktops' document is from a newer version of Quorvane");
    else if (desktopIsUnsafe())
        state.refusal = tr("the Desktop folder is the home folder, or holds the desktops folder");
    else if (!m_session.dataLock().held())
        state.refusal = tr("another process works on the desktops folder");
    if (!state.refusal.isEmpty())
        return state;
    // A switch begins by finishing the journal a crash left: one that can't be read stops every
    // switch, and the command line says so instead of "switching".
    try {
        (void)m_store.loadJournal();
    } catch (const std::exception &) {
        state.refusal = tr("the crash-recovery journal (journal.json in the desktops folder's .store) can't be read");
    }
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

void AppController::cycleOptionClick()
{
    m_gate.submit({QStringLiteral("the carousel's next desktop"), [this] { cycleOptionClickNow(); }});
}

// The next stop of the carousel: its stops that are live, else the switchable desktops.
void AppController::cycleOptionClickNow()
{
    const Config config = document();
    QStringList live;
    for (const Workspace &workspace : config.liveWorkspaces())
        live << workspace.name;
    QStringList ring;
    for (const QString &name : config.settings.optionClickCarousel) {
        if (live.contains(name))
            ring << name;
    }
    if (ring.isEmpty()) {
        for (const Workspace &workspace : config.switchableWorkspaces())
            ring << workspace.name;
    }
    if (ring.isEmpty())
        return;
    const qsizetype index = ring.indexOf(config.activeWorkspace);
    const QString target = index >= 0 ? ring[(index + 1) % ring.size()] : ring.front();
    if (target != config.activeWorkspace)
        switchNow(target, true);
}

void AppController::cycle(int step)
{
    m_gate.submit({step < 0 ? QStringLiteral("previous desktop") : QStringLiteral("next desktop"), [this, step] { cycleNow(step); }});
}

void AppController::cycleNow(int step)
{
    const Config config = document();
    QStringList ring;
    for (const Workspace &workspace : config.switchableWorkspaces())
        ring << workspace.name;
    if (ring.isEmpty())
        return;
    const qsizetype n = ring.size();
    const qsizetype index = ring.indexOf(config.activeWorkspace);
    QString target;
    if (index >= 0)
        target = ring[((index + step) % n + n) % n];
    else
        target = step < 0 ? ring.back() : ring.front();
    switchNow(target, true);
}

void AppController::switchToLastDesktop()
{
    m_gate.submit({QStringLiteral("last desktop"), [this] { switchToLastDesktopNow(); }});
}

void AppController::switchToLastDesktopNow()
{
    const std::optional<QString> &last = m_session.previous();
    if (!last)
        return;
    const QString previous = *last;
    const Config config = document();
    if (previous == config.activeWorkspace)
        return;
    if (previous == Config::blankWorkspaceName) {
        switchNow(previous, true);
        return;
    }
    // Archived, renamed or deleted since: nothing to go back to.
    for (const Workspace &workspace : config.liveWorkspaces()) {
        if (workspace.name == previous) {
            switchNow(workspace.name, true);
            return;
        }
    }
}

void AppController::switchWorkspace(const QString &name)
{
    if (name.isEmpty())
        return;
    performSwitch(name, true);
}

void AppController::toggleCollapse()
{
    m_gate.submit({QStringLiteral("hide or show the desktop"), [this] { toggleCollapseNow(); }});
}

void AppController::toggleCollapseNow()
{
    const Config config = document();
    if (config.activeWorkspace == Config::blankWorkspaceName) {
        if (const auto target = config.expandTarget())
            switchNow(*target, true);
        return;
    }
    editQuietly([&](Config &changed) { changed.lastExpandedWorkspace = config.activeWorkspace; });
    switchNow(Config::blankWorkspaceName, true);
}

void AppController::toggleScreenshotFilteringPause()
{
    editQuietly([](Config &config) { config.settings.screenshotFilteringPaused = !config.settings.screenshotFilteringPaused; });
    rebuildMenu();
    if (m_settingsModel)
        m_settingsModel->reload();
}

} // namespace quorvane
