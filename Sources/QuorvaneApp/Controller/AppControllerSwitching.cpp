// Switch requests, handed to the switch's own coordinator.
#include "Controller/AppController.h"

namespace quorvane {

void AppController::performSwitch(const QString &target, bool userInitiated)
{
    m_switching.perform(target, userInitiated);
}

void AppController::sweepInOverruleOrder(const Config &config)
{
    m_switching.sweepInOverruleOrder(config);
}

void AppController::sweepActiveDesktopNow()
{
    m_switching.sweepActiveDesktopNow();
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
