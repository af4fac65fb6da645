// Global shortcuts, desktops' own hot keys and the option-click carousel.
#include "Settings/SettingsModel.h"

#include "Settings/SettingsModelSupport.h"
#include "Triggers/KeyNames.h"

#include <QCoreApplication>
#include <algorithm>

namespace quorvane {

namespace {

QString label(const HotKeyAssignment::Owner &owner)
{
    using Kind = HotKeyAssignment::Owner::Kind;
    switch (owner.kind) {
    case Kind::cycleNext:
        return QCoreApplication::translate("SettingsModelShortcuts", "Cycle next");
    case Kind::cyclePrevious:
        return QCoreApplication::translate("SettingsModelShortcuts", "Cycle previous");
    case Kind::hideDesktop:
        return QCoreApplication::translate("SettingsModelShortcuts", "Hide / show desktop");
    case Kind::switchToLast:
        return QCoreApplication::translate("SettingsModelShortcuts", "Switch to last desktop");
    case Kind::openSettings:
        return QCoreApplication::translate("SettingsModelShortcuts", "Open Settings");
    case Kind::openCalendar:
        return QCoreApplication::translate("SettingsModelShortcuts", "Open calendar");
    case Kind::sortNow:
        return QCoreApplication::translate("SettingsModelShortcuts", "Sort now");
    case Kind::floatingDock:
        return QCoreApplication::translate("SettingsModelShortcuts", "Floating dock");
    case Kind::workspace:
        break;
    }
    return settings::quoted(owner.name);
}

} // namespace

QString SettingsModel::conflictMessage(const HotKeySpec &spec, const HotKeyAssignment::Owner &holder)
{
    return tr("%1 is already assigned to %2.").arg(shortcutText(spec), label(holder));
}

void SettingsModel::setShortcut(const HotKeyAssignment::Owner &owner, const std::optional<HotKeySpec> &spec,
                                const std::function<void(Config &)> &store)
{
    if (spec) {
        if (const auto holder = m_config.hotKeyConflict(*spec, owner)) {
            refuse(conflictMessage(*spec, *holder));
            return;
        }
    }
    apply(store);
}

void SettingsModel::setHotkey(const QString &name, const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::workspace(name), spec,
                [&](Config &config) { config.updateWorkspace(name, [&](Workspace &w) { w.hotkey = spec; }); });
}

void SettingsModel::setCycle(bool next, const std::optional<HotKeySpec> &spec)
{
    setShortcut(next ? HotKeyAssignment::Owner::cycleNext() : HotKeyAssignment::Owner::cyclePrevious(), spec,
                [&](Config &config) { (next ? config.settings.cycleNext : config.settings.cyclePrevious) = spec; });
}

void SettingsModel::setHideDesktopShortcut(const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::hideDesktop(), spec,
                [&](Config &config) { config.settings.hideDesktopShortcut = spec; });
}

void SettingsModel::setSwitchToLastShortcut(const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::switchToLast(), spec,
                [&](Config &config) { config.settings.switchToLastShortcut = spec; });
}

void SettingsModel::setOpenSettingsShortcut(const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::openSettings(), spec,
                [&](Config &config) { config.settings.openSettingsShortcut = spec; });
}

void SettingsModel::setOpenCalendarShortcut(const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::openCalendar(), spec,
                [&](Config &config) { config.settings.openCalendarShortcut = spec; });
}

void SettingsModel::setSortNowShortcut(const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::sortNow(), spec, [&](Config &config) { config.settings.sortNowShortcut = spec; });
}

void SettingsModel::setFloatingDockShortcut(const std::optional<HotKeySpec> &spec)
{
    setShortcut(HotKeyAssignment::Owner::floatingDock(), spec,
                [&](Config &config) { config.settings.floatingDockShortcut = spec; });
}

void SettingsModel::setOptionClickCarousel(const QStringList &names)
{
    QStringList kept;
    for (const QString &name : names) {
        if (!kept.contains(name))
            kept.append(name);
    }
    kept = kept.mid(0, AppSettings::optionClickCarouselLimit);
    apply([&](Config &config) { config.settings.optionClickCarousel = kept; });
}

void SettingsModel::setRefusedHotKeys(const std::vector<HotKeySpec> &refused)
{
    if (refused == m_refusedHotKeys)
        return;
    m_refusedHotKeys = refused;
    emit changed();
}

bool SettingsModel::isRefused(const std::optional<HotKeySpec> &spec) const
{
    return spec && std::find(m_refusedHotKeys.begin(), m_refusedHotKeys.end(), *spec) != m_refusedHotKeys.end();
}

} // namespace quorvane
