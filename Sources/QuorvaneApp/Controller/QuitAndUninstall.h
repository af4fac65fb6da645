#pragma once

namespace quorvane {

class AppController;

// Quitting, and the uninstall: from the settings window, or when the installed executable
// arrives in the Trash. Both bring the desktops back onto the Desktop, set the document aside,
// remove the login item and the desktop entry, and quit.
class QuitAndUninstall {
public:
    explicit QuitAndUninstall(AppController &app);

    void quit();
    // The settings model's uninstall: asks first, and reveals the executable before quitting.
    // Once confirmed it waits at the request gate for a switch under way, never runs beside it.
    void uninstallRequested();
    // The installed executable arrived in the Trash: offers the uninstall unless an update is
    // being installed; confirmed, it waits at the gate as the uninstall does.
    void appMovedToTrash();

private:
    void uninstallNow();
    // The desktops back on the Desktop, with an alert when not all of them could come, then
    // the login item removed.
    void bringDesktopsBack();

    AppController &m_app;
};

} // namespace quorvane
