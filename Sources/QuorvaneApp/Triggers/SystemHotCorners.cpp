#include "Triggers/SystemHotCorners.h"

#include <QCoreApplication>

namespace quorvane {

namespace {

std::optional<QString> cornerCode(FloatingDockCorner corner)
{
    switch (corner) {
    case FloatingDockCorner::topLeft:
        return QStringLiteral("tl");
    case FloatingDockCorner::topRight:
        return QStringLiteral("tr");
    case FloatingDockCorner::bottomLeft:
        return QStringLiteral("bl");
    case FloatingDockCorner::bottomRight:
        return QStringLiteral("br");
    case FloatingDockCorner::off:
        break;
    }
    return std::nullopt;
}

// An integer preference; a number of another type or text does not count.
std::optional<qlonglong> integer(const PreferenceReader &preferences, const QString &key)
{
    const auto value = preferences.value(SystemHotCorners::domain, key);
    if (!value)
        return std::nullopt;
    switch (value->typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return value->toLongLong();
    default:
        return std::nullopt;
    }
}

} // namespace

bool SystemHotCorners::requiresModifier(const PreferenceReader &preferences, FloatingDockCorner corner)
{
    const auto code = cornerCode(corner);
    if (!code)
        return false;
    const auto mask = integer(preferences, QStringLiteral("wvous-%1-modifier").arg(*code));
    return mask && *mask != 0;
}

SystemHotCorners::Action SystemHotCorners::action(const PreferenceReader &preferences, FloatingDockCorner corner)
{
    const auto code = cornerCode(corner);
    if (!code)
        return Action::none;
    const auto raw = integer(preferences, QStringLiteral("wvous-%1-corner").arg(*code));
    if (!raw || *raw < 1 || *raw > 14 || (*raw >= 7 && *raw <= 9))
        return Action::none;
    return Action(int(*raw));
}

std::optional<QString> SystemHotCorners::occupant(const PreferenceReader &preferences, FloatingDockCorner corner)
{
    if (requiresModifier(preferences, corner))
        return std::nullopt;
    switch (action(preferences, corner)) {
    case Action::none:
        return std::nullopt;
    case Action::missionControl:
        return QCoreApplication::translate("SystemHotCorners", "Overview");
    case Action::applicationWindows:
        return QCoreApplication::translate("SystemHotCorners", "Application Windows");
    case Action::desktop:
        return QCoreApplication::translate("SystemHotCorners", "Desktop");
    case Action::screenSaver:
        return QCoreApplication::translate("SystemHotCorners", "Screen Saver");
    case Action::disableScreenSaver:
        return QCoreApplication::translate("SystemHotCorners", "Disable Screen Saver");
    case Action::displaySleep:
        return QCoreApplication::translate("SystemHotCorners", "Display Sleep");
    case Action::launchpad:
        return QCoreApplication::translate("SystemHotCorners", "Application Launcher");
    case Action::notificationCentre:
        return QCoreApplication::translate("SystemHotCorners", "Notifications");
    case Action::lockScreen:
        return QCoreApplication::translate("SystemHotCorners", "Lock Screen");
    case Action::quickNote:
        return QCoreApplication::translate("SystemHotCorners", "Quick Note");
    }
    return std::nullopt;
}

} // namespace quorvane
