#pragma once

#include "Shared/AppInfo.h"

#include <QString>

#include <memory>

namespace quorvane {

class StatusItem;

// The status item of this session: on the status area the session has now or gets later, its
// glyph shaded for the panel, offered by name where the status area recolours symbolic icons.
std::shared_ptr<StatusItem> makeSessionStatusItem(const AppInfo &info);

// The name of the status icon in the application's icon theme folder.
inline constexpr const char *statusIconName = "app.quorvane.Quorvane-status-symbolic";
// The icon theme folder installed beside the executable (<prefix>/share/quorvane/icons for
// <prefix>/bin/quorvane); empty when it holds no status icon (a build folder).
QString statusIconThemePath(const QString &executablePath);
// Whether the desktop's status area draws symbolic icons in its own colours.
bool statusAreaRecoloursSymbolicIcons(const QString &currentDesktop);

} // namespace quorvane
