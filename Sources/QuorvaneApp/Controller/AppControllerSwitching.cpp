// Switch requests: each enters the request gate and, once taken, goes on to the switch's own
// coordinator.
#include "Controller/AppController.h"
#include "Shared/Log.h"

#include <algorithm>

namespace quorvane {

void AppController::performSwitch(const QString &target, bool userInitiated)
{
    m_gate.submit({QStringLiteral("switch to %1").arg(target), [this, target, userInitiated] { switchNow(target, userInitiated); }});
}

void AppController::switchNow(const QString &target, bool userInitiated)
{
    // Archived while the request waited: its folder is in the archive now. (A name the document
    // does not have at all goes on to the engine, whose error says so.)
    if (const Workspace *workspace = document().workspace(target); workspace && target != Config::blankWorkspaceName) {
        const std::vector<Workspace> live = document().liveWorkspaces();
        if (std::none_of(live.begin(), live.end(), [&](const Workspace &other) { return other.name == target; })) {
            qCInfo(Log::swap()).noquote() << QStringLiteral("switch to %1 dropped: it is no longer a live desktop").arg(target);
            return;
        }
    }
    m_switching.perform(target, userInitiated);
}

void AppController::sweepInOverruleOrder(const Config &config)
{
    m_switching.sweepInOverruleOrder(config);
}

void AppController::sweepActiveDesktopNow()
{
    m_gate.submit({QStringLiteral("sort now"), [this] { m_switching.sweepActiveDesktopNow(); }, QStringLiteral("sort now")});
}

void AppController::applyAppearance(const QString &name, const Config &config)
{
    m_switching.applyAppearance(name, config);
}

void AppController::noteStayedBehind(const QStringList &names)
{
    m_switching.noteStayedBehind(names);
}

void AppController::present(const std::exception &error)
{
    m_switching.present(error);
}

void AppController::present(std::exception_ptr error)
{
    m_switching.present(std::move(error));
}

void AppController::stampActiveVisited()
{
    m_switching.stampActiveVisited();
}

void AppController::previewSwitchTransition()
{
    m_switching.previewTransition();
}

} // namespace quorvane
