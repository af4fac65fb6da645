// What a switch owes the user afterwards: the first switch's note, the items a pinned name kept
// back or that could not move, and the one error alert.
#include "Controller/SwitchCoordinator.h"

#include "Controller/AppController.h"
#include "Shared/Log.h"
#include "StoreError.h"
#include "SurfaceError.h"
#include "SwapError.h"
#include "Windows/AlertPresenter.h"

#include <QCoreApplication>
#include <QUrl>

namespace quorvane {

QString SwitchCoordinator::describe(const std::exception &error)
{
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->description();
    return QString::fromUtf8(error.what());
}

void SwitchCoordinator::showFirstSwitchNoteIfNeeded(const QString &from, const QString &target)
{
    if (from == target || from == Config::blankWorkspaceName)
        return;
    const Config current = m_controller.document();
    if (current.settings.shownFirstSwitchNote || current.activeWorkspace != target)
        return;
    m_controller.editQuietly([](Config &config) { config.settings.shownFirstSwitchNote = true; });
    later(1.0, [from](SwitchCoordinator &self) {
        const AppEnvironment &env = self.m_controller.environment();
        Alert alert;
        alert.message = QCoreApplication::translate("SwitchCoordinator", "Your files aren't gone!");
        alert.informativeText = QCoreApplication::translate("SwitchCoordinator", "We moved \u201C%1\u201D into your desktops folder. "
                                                                                 "Check it out, or try switching back!")
                                    .arg(from);
        alert.buttons = {alertOkTitle(), QCoreApplication::translate("SwitchCoordinator", "Show Me the Folder")};
        // The alert runs a nested event loop: the controller may be gone when it returns.
        const QPointer<AppController> weak(&self.m_controller);
        const QString folder = env.paths.workspaces();
        const auto openUrl = env.openUrl;
        if (env.alerts->present(alert) == 1 && weak && openUrl)
            openUrl(QUrl::fromLocalFile(folder));
    });
}

void SwitchCoordinator::notePinnedSkips(const QStringList &names)
{
    const bool one = names.size() == 1;
    Alert alert;
    alert.message = one ? QCoreApplication::translate("SwitchCoordinator", "\u201C%1\u201D stayed in its desktop's folder").arg(names.front())
                        : QCoreApplication::translate("SwitchCoordinator", "%1 items stayed in their desktop's folder").arg(names.size());
    alert.informativeText = one ? QCoreApplication::translate("SwitchCoordinator", "A pinned folder on the Desktop has the same name, so Quorvane "
                                                                                   "didn't bring it out — nothing was moved or overwritten. Rename "
                                                                                   "one of the two, or unpin the folder, and switch again.")
                                : QCoreApplication::translate("SwitchCoordinator", "A pinned folder on the Desktop has the same name, so Quorvane "
                                                                                   "didn't bring them out — nothing was moved or overwritten. Rename "
                                                                                   "one of the two, or unpin the folder, and switch again.");
    m_controller.environment().alerts->present(alert);
}

void SwitchCoordinator::noteStayedBehind(const QStringList &names)
{
    const bool one = names.size() == 1;
    qCWarning(Log::swap()).noquote() << QStringLiteral("%1 item(s) could not move and stayed where they were: %2")
                                            .arg(QString::number(names.size()), names.join(QStringLiteral(", ")));
    Alert alert;
    alert.message = one ? QCoreApplication::translate("SwitchCoordinator", "\u201C%1\u201D stayed where it was").arg(names.front())
                        : QCoreApplication::translate("SwitchCoordinator", "%1 items stayed where they were").arg(names.size());
    alert.informativeText = one ? QCoreApplication::translate("SwitchCoordinator", "Quorvane couldn't move it (permissions or the name don't allow "
                                                                                   "it), so it stayed on the Desktop or in the desktop's folder — "
                                                                                   "nothing was moved or overwritten, and the rest of the switch "
                                                                                   "went on. Fix it, then switch again.")
                                : QCoreApplication::translate("SwitchCoordinator", "Quorvane couldn't move them (permissions or the name don't allow "
                                                                                   "it), so they stayed on the Desktop or in the desktop's folder — "
                                                                                   "nothing was moved or overwritten, and the rest of the switch "
                                                                                   "went on. Fix them, then switch again.\n\n%1")
                                      .arg(names.join(QLatin1Char('\n')));
    m_controller.environment().alerts->present(alert);
}

void SwitchCoordinator::present(const std::exception &error)
{
    const AppEnvironment &env = m_controller.environment();
    const QString description = describe(error);
    qCCritical(Log::error()).noquote() << QStringLiteral("surfaced to the user: %1").arg(description);
    Alert alert;
    const auto *swap = dynamic_cast<const SwapError *>(&error);
    if (swap && swap->kind() == SwapError::Kind::crossVolumeStore) {
        alert.message = QCoreApplication::translate("SwitchCoordinator", "Store is on another volume");
        alert.informativeText =
            QCoreApplication::translate("SwitchCoordinator", "Quorvane only runs when the workspace store and ~/Desktop are on the same disk.");
    } else if (swap && swap->kind() == SwapError::Kind::desktopMissing) {
        alert.message = QCoreApplication::translate("SwitchCoordinator", "The Desktop folder is missing");
        alert.informativeText = QCoreApplication::translate("SwitchCoordinator", "Quorvane can't find your Desktop folder (%1), so nothing was moved. "
                                                                                 "Create it again, then switch again.")
                                    .arg(env.paths.desktop());
    } else if (swap && swap->kind() == SwapError::Kind::folderOutOfBounds) {
        alert.message = QCoreApplication::translate("SwitchCoordinator", "Quorvane won't use the folder of \u201C%1\u201D").arg(swap->name());
        alert.informativeText = QCoreApplication::translate("SwitchCoordinator", "It leads to your home folder, to the Desktop or to the desktops folder, so "
                                                                                 "switching would move them. Nothing was moved. Make it an ordinary folder "
                                                                                 "inside \u201C%1\u201D, then switch again.")
                                    .arg(Paths::rootName);
    } else if (const auto *surface = dynamic_cast<const SurfaceError *>(&error)) {
        // The log has the paths; the user reads the item's name and its place.
        alert.message = QCoreApplication::translate("SwitchCoordinator", "Something went wrong");
        alert.informativeText = surface->userText();
    } else {
        alert.message = QCoreApplication::translate("SwitchCoordinator", "Something went wrong");
        alert.informativeText = description;
    }
    env.alerts->present(alert);
}

void SwitchCoordinator::present(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        present(e);
    } catch (...) {
        present(std::runtime_error("an unknown error"));
    }
}

} // namespace quorvane
