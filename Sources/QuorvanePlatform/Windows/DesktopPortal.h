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

// Before the application starts: where a file-chooser portal is installed and Qt's portal
// platform theme is at hand, the choosers go through the portal (the platform theme of the
// desktop still gives the style and the rest). On a GTK desktop with Qt's GTK platform theme
// installed they stay GTK's own, shown by the application: the same chooser, and one that opens
// in the folder asked for, which the portal's file chooser does not before its version 4. A
// platform theme the user chose is kept. True when it chose the portal's.
bool preferPortalDialogs();

} // namespace quorvane
