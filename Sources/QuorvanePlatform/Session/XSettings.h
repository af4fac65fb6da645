#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvane {

// The settings an XSETTINGS manager (xsettingsd, GNOME's and XFCE's settings daemons) publishes
// on the X server: the _XSETTINGS_SETTINGS property of the window that owns the screen's
// _XSETTINGS_S<n> selection.
namespace xsettings {

// The string setting name in the property's data ("Net/ThemeName"); none when the data holds no
// such string or cannot be read to it.
std::optional<QString> stringSetting(const QByteArray &data, const QByteArray &name);

// The selection the default screen's manager owns (_XSETTINGS_S<n>); 0 without X11.
quint32 selectionAtom();
// The manager's window on the default screen; 0 without X11 or without a manager.
quint32 managerWindow();
// The theme the manager publishes now; none without X11, a manager or a theme.
std::optional<QString> themeName();
// Whether that theme is a dark one; false without one.
bool themeIsDark();

} // namespace xsettings
} // namespace quorvane
