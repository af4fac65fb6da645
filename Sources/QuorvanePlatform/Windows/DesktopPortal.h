#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// Whether the session's desktop portal can show a file chooser: the portal service is one the
// session bus starts on demand (its service file in one of dataDirs' "dbus-1/services") and a
// portal backend of one of dataDirs offers the FileChooser interface.
bool fileChooserPortalInstalled(const QStringList &dataDirs);

// The folders XDG_DATA_DIRS names (with XDG_DATA_HOME first), or the standard ones.
QStringList xdgDataDirs();

// Whether currentDesktop (XDG_CURRENT_DESKTOP, names joined by ':') is a desktop built on GTK,
// one Qt gives its GTK platform theme.
bool gtkDesktop(const QString &currentDesktop);

// Whether the file and folder choosers are the desktop portal's, asked for directly: where a
// file-chooser portal is installed, unless the user chose a platform theme (which then shows the
// choosers) or this is a GTK desktop with Qt's GTK platform theme installed. There the choosers
// stay GTK's own, shown by the application: the same chooser, and one that opens in the folder
// asked for, which the portal's file chooser does not before its version 4. The portal is asked
// only when a chooser opens, so Qt's portal platform theme (which would start the portal with
// the application) is never loaded for it.
bool portalChoosers();

} // namespace quorvane
