<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>Alert</name>
    <message>
        <location filename="../../Sources/QuorvanePlatform/Windows/AlertPresenter.h" line="+29"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppCommandClient</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Triggers/AppCommandClient.cpp" line="+34"/>
        <source>Quorvane is not running (this command does not start it)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>no session bus, so no running Quorvane can be reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Quorvane did not answer within %1 seconds (it may be stopped or busy); nothing was asked of it, so trying again is safe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quorvane did not answer: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppCommandLine</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Triggers/AppCommand.cpp" line="+60"/>
        <source>unknown option %1 (see --help)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>one request at a time: %1 after another request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+4"/>
        <source>--switch-to needs the name of a desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Usage: quorvane [OPTION]
Without an option, starts Quorvane, or shows the settings of the one running.
With one, asks the running Quorvane (never starts it):
  --switch-to NAME  switch to the desktop NAME
  --next            switch to the next desktop
  --previous        switch to the previous desktop
  --hide-desktop    hide the desktop, or show it again
  --carousel        switch to the carousel&apos;s next desktop
  --version         print the version
  --help            show this text
Exit status: 0 done, 1 refused by Quorvane, 2 bad usage, 3 Quorvane is not running.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArchiveError</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Desktop/ArchiveError.cpp" line="+19"/>
        <source>Only temporary desktops can be archived. Set “%1” to Temporary first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” is already archived.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” is the active desktop. Switch to another first, then archive it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” no longer exists, so there&apos;s nowhere to move into.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A scratch desktop can only move into a live permanent desktop. “%1” isn&apos;t one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The archive folder is on a different disk. Choose one on the same disk as your workspaces (Settings ▸ Experimental).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A desktop can&apos;t move into itself.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Archiver</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Desktop/Archiver.cpp" line="+35"/>
        <source>“%1” can&apos;t be used as a folder name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Couldn&apos;t pour “%1” into “%2”: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+141"/>
        <location line="+13"/>
        <source>Couldn&apos;t move the folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-9"/>
        <source>Couldn&apos;t create the archive folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+102"/>
        <source>“%1” leads to your home folder, the Desktop or the desktops folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+67"/>
        <source>Couldn&apos;t recreate the folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Couldn&apos;t move the folder back: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>“%1” isn&apos;t a folder of the archive, so it stays where it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A folder named “%1” already exists in the workspace store — move it aside first.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalendarDaySidebar</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/CalendarDaySidebar.cpp" line="+153"/>
        <source>Nothing scheduled on this day.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Remove this cleanup reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+71"/>
        <source>This day has passed — drag a circle out to a later day.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Every desktop already has a date here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Add a cleanup</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalendarWindowController</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/CalendarWindowController.cpp" line="+62"/>
        <location line="+18"/>
        <source>Cleanup calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CleanupCalendarView</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/CleanupCalendarView.cpp" line="+48"/>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CleanupNotifier</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/CleanupNotifier.cpp" line="+12"/>
        <source>Desktop cleanup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+57"/>
        <source>You have desktops to sort.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” is still waiting to be sorted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Desktops still waiting to be sorted: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CreateWorkspaceWindowController</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/CreateWorkspaceWindowController.cpp" line="+31"/>
        <source>New desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+49"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeskTexts</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/DeskTexts.cpp" line="+25"/>
        <source>Its 1 file goes to the Trash with it, where you can recover it until you empty it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Its %1 files go to the Trash with it, where you can recover them until you empty it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Move “%1” to the Trash?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1 yr. ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 mo. ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 wk. ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 hr. ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 min. ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 sec. ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Not visited yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Active %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <location filename="../../Sources/QuorvanePlatform/Windows/QtDialogs.cpp" line="+190"/>
        <location line="+71"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FloatingDockTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/FloatingDockTab.cpp" line="+33"/>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FloatingDockView</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Dock/FloatingDockView.cpp" line="+46"/>
        <source>No desktops yet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstallLocation</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Install/InstallLocation.cpp" line="+45"/>
        <source>“%1” couldn’t be moved to the Trash (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Only an installed copy of Quorvane can be moved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Couldn’t create %1 (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Couldn’t put %1 into %2 (%3).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LaunchAlerts</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/LaunchAlerts.cpp" line="+20"/>
        <source>Quorvane can&apos;t write to its desktops folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quorvane keeps your desktops in “%1” in your home folder, and it can&apos;t write there: %2. It quits without changing anything. Make the folder writable, then relaunch Quorvane.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>This copy of Quorvane is older than your data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Your desktops were last managed by a newer version of Quorvane. Your files and settings are safe and untouched — but switching and changes are paused until you run the newer version again (or update this one).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Quorvane can&apos;t use this Desktop folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Your Desktop folder is your home folder itself, or it holds the “%1” folder, so switching desktops would move everything in it. Quorvane has left your files untouched and won&apos;t switch. Give your Desktop a folder of its own, then relaunch Quorvane.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Quorvane is already running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Another Quorvane is managing the desktops in “%1”. This one quits without changing anything.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <location filename="../../Sources/QuorvanePlatform/Install/LinuxLoginItem.cpp" line="+72"/>
        <source>Couldn&apos;t create the folder “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Couldn&apos;t write the autostart entry: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Couldn&apos;t remove the autostart entry: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/MainMenu.cpp" line="+112"/>
        <source>Hide Others</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-71"/>
        <location line="+68"/>
        <source>About %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hide %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Paste and Match Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Minimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MoveToApplicationsView</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Install/MoveToApplicationsView.cpp" line="+43"/>
        <source>Quorvane is running from “%1”. Apps left in Downloads get swept up in a tidy-up, and moving one breaks the autostart entry that starts it for you. Quorvane reopens from its new home.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Move Quorvane to your applications folder?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Not now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Move to your applications folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+63"/>
        <source>Couldn’t move it: %1 You can drag Quorvane into your applications folder yourself instead.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MoveToApplicationsWindowController</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Install/MoveToApplicationsWindowController.cpp" line="+23"/>
        <source>Move Quorvane to your applications folder?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuitAndUninstall</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/QuitAndUninstall.cpp" line="+48"/>
        <source>Uninstall Quorvane?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-15"/>
        <source>Every desktop comes back to your Desktop as a normal folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Archived desktops stay where they are (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quorvane is then removed from autostart. Its package stays installed: remove it with “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quorvane is then removed from autostart and its folder is opened in your file manager so you can delete it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Bring My Desktops Back &amp; Uninstall</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Removing Quorvane?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quorvane was just moved to the Trash. Want your desktops placed back on the Desktop first? Each becomes a normal folder there. If you skip this, they stay in “%1” in your home folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Bring My Desktops Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Leave Everything As Is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Not everything could be brought back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>These are still in “%1” in your home folder: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SessionRoads</name>
    <message>
        <location filename="../../Sources/QuorvanePlatform/SessionRoads.cpp" line="+31"/>
        <source>Shortcuts are served by KDE&apos;s global shortcut service.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Shortcuts are added to the desktop&apos;s own keyboard shortcuts, each named “Quorvane: …”. Switch to last desktop, Open calendar and Toggle floating dock can&apos;t be added there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>On this Wayland session, shortcuts work only while an X11 window has focus.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This session gives the application no global shortcuts: bind keys in the desktop&apos;s own settings to the command line, as in “quorvane --switch-to Work”.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsModelArchive</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelArchive.cpp" line="+23"/>
        <source>Quorvane is mid-switch. Try again in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsModelDesktops</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelDesktops.cpp" line="+27"/>
        <source>Quorvane is mid-switch. Try again in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsModelShortcuts</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelShortcuts.cpp" line="+19"/>
        <source>Cycle next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cycle previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hide / show desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Switch to last desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sort now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Floating dock</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindowController</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsWindowController.cpp" line="+18"/>
        <source>Quorvane Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShortcutsTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/ShortcutsTab.cpp" line="+42"/>
        <source>This session gives Quorvane no global shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This action has no command line the desktop could run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>In use by another program</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusMenuModel</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/StatusMenuModel.cpp" line="+33"/>
        <source>Switching to %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Moving %1 items to %2…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Hide current desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-11"/>
        <source>Unsorted desktops: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Reopen “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Expand desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>New desktop…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cleanup calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Floating dock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Screenshot filtering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check for Updates…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check for Updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+2"/>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Style</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Shared/Style.cpp" line="+100"/>
        <source>Ochre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Slate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rose</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sage</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SwitchCoordinator</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/SwitchCoordinatorAlerts.cpp" line="+35"/>
        <source>Your files aren&apos;t gone!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show Me the Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-3"/>
        <source>We moved “%1” into your desktops folder. Check it out, or try switching back!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>“%1” stayed in its desktop&apos;s folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 items stayed in their desktop&apos;s folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A pinned folder on the Desktop has the same name, so Quorvane didn&apos;t bring it out — nothing was moved or overwritten. Rename one of the two, or unpin the folder, and switch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A pinned folder on the Desktop has the same name, so Quorvane didn&apos;t bring them out — nothing was moved or overwritten. Rename one of the two, or unpin the folder, and switch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>“%1” stayed where it was</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 items stayed where they were</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quorvane couldn&apos;t move it (permissions or the name don&apos;t allow it), so it stayed on the Desktop or in the desktop&apos;s folder — nothing was moved or overwritten, and the rest of the switch went on. Fix it, then switch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quorvane couldn&apos;t move them (permissions or the name don&apos;t allow it), so they stayed on the Desktop or in the desktop&apos;s folder — nothing was moved or overwritten, and the rest of the switch went on. Fix them, then switch again.

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Store is on another volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quorvane only runs when the workspace store and ~/Desktop are on the same disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The Desktop folder is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quorvane can&apos;t find your Desktop folder (%1), so nothing was moved. Create it again, then switch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quorvane won&apos;t use the folder of “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>It leads to your home folder, to the Desktop or to the desktops folder, so switching would move them. Nothing was moved. Make it an ordinary folder inside “%1”, then switch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+3"/>
        <source>Something went wrong</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemHotCorners</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Triggers/SystemHotCorners.cpp" line="+75"/>
        <source>Overview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Application Windows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Screen Saver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Disable Screen Saver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display Sleep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Application Launcher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Notifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lock Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quick Note</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Uninstaller</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Install/Uninstaller.cpp" line="+24"/>
        <source>Hidden desktop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkspaceCreateSheet</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/WorkspaceCreateSheet.cpp" line="+78"/>
        <source>Never</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>After idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>After fixed time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>XdgTrash</name>
    <message>
        <location filename="../../Sources/QuorvanePlatform/Files/XdgTrash.cpp" line="+24"/>
        <source>the Trash can&apos;t be used: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+70"/>
        <source>“%1” can&apos;t be created (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-67"/>
        <source>“%1” can&apos;t be read (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” isn&apos;t a folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” belongs to another user.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>“%1” can&apos;t be written (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+48"/>
        <source>“%1/files” is a disk of its own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>there is no data folder to keep it in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+35"/>
        <source>your Trash (“%1”) is on another disk than “%2”, and that disk has no Trash of its own: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+38"/>
        <source>the record of “%1” can&apos;t be written in “%2” (%3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Only an absolute path can be moved to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+35"/>
        <source>it is on another disk than “%1”, and nothing is copied into a Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>it has no free name left.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::AdvancedTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/AdvancedTab.cpp" line="+107"/>
        <source>Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Filter screenshots into a collection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Whenever you switch desktops, screenshots are swept off the current one into a “%1” desktop — keeping the rest clean.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Show a pause toggle in the panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Identifying screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Screenshot name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Custom filtering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sort files by name into desktops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Sort automatically on desktop changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Screenshots take priority over rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Sort now shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Filename custom filter rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No rules yet. Add one, then type a word and the desktop to sort matching files into.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Add rule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Sort now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Uninstall</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Uninstall…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Uninstall Quorvane…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Puts every desktop back on your Desktop as a normal folder, removes Quorvane from autostart, and opens its folder in your file manager so you can delete it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Sweep screenshots already on this desktop?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Move any screenshots currently on your desktop into “%1” now. Otherwise, filtering starts with your next desktop switch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Sweep Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Not Now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::AppCommandService</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Triggers/AppCommandService.cpp" line="+79"/>
        <source>showing the settings window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quorvane is still starting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>there are none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the desktops are %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>there is no desktop named %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 is already the active desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>nothing can be switched: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>switching to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>switching to the next desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>switching to the previous desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>showing the desktop again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>hiding the desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>switching to the carousel&apos;s next desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 once the switch under way has ended</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::AppController</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/AppControllerCommands.cpp" line="+32"/>
        <source>the desktops&apos; document is from a newer version of Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the Desktop folder is the home folder, or holds the desktops folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>another process works on the desktops folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the crash-recovery journal (journal.json in the desktops folder&apos;s .store) can&apos;t be read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::AppearanceTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/AppearanceTab.cpp" line="+71"/>
        <source>Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+5"/>
        <source>Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <location line="+19"/>
        <location line="+1"/>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-19"/>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Accent colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+23"/>
        <location line="+1"/>
        <source>Custom colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Switch animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+43"/>
        <source>Animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-32"/>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+5"/>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Slow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+5"/>
        <source>Intensity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Subtle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Strong</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+1"/>
        <source>Panel icon animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Still</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nudge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mirror</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>No animation on switch — the desktop simply changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A band of blur sweeps across the desktop while the files change.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A blur settles over the desktop while the files change, then clears.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>A dark blur settles over the desktop while the files change, then clears.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ArchivedRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/ArchivedRow.cpp" line="+42"/>
        <source>archived %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open Containing Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open Containing Folder of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restore %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Move this desktop back to the live list — its folder returns from the archive.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ArchivedSortRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/ArchivedSortRow.cpp" line="+25"/>
        <source>Open Containing Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sorted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Open Containing Folder of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Sorted %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>archived %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ArchivedTrashButton</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/ArchivedTrashButton.cpp" line="+15"/>
        <source>Move %1 to the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Move this desktop and its files to the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Move to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::CleanupLedgerRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/CleanupLedgerRow.cpp" line="+23"/>
        <source>overdue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Cleanup date of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Remove the reminder of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Remove this reminder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::CustomFilterRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/CustomFilterRow.cpp" line="+79"/>
        <source>Rule on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>name contains…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Name contains</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Destination desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+45"/>
        <source>Choose desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-27"/>
        <source>Remove rule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Rule is on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rule is off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>New desktop…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>New desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Create a new permanent desktop to sort matching files into.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Create</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::DeskMetadataRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/DeskMetadataRow.cpp" line="+31"/>
        <source>Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Identity colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Identity colour — used on the cleanup calendar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Permanent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Temporary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Permanent desktops stay until you archive them yourself. Temporary desktops can auto-archive on the schedule you set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+100"/>
        <source>Move to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-81"/>
        <source>Switch to another desktop first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Move this desktop and its files to the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Make the Screenshots desktop temporary?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Make Temporary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+32"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::DesktopWallpaperEditor</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/DesktopWallpaperEditor.cpp" line="+133"/>
        <source>Create a desktop first, then you can give it a wallpaper.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+64"/>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-51"/>
        <source>Wallpapers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mute all wallpapers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Desktop to wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Show wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A translucent overlay over the desktop while this one is active.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Above desktop icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+6"/>
        <source>Fill</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+9"/>
        <location line="+1"/>
        <source>Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-9"/>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Opacity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Light / Dark mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Takes longer to switch — not suited to rapid cycling.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>This desktop draws its own wallpaper; the cue shows above windows only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>This desktop has no dark mode to switch: Dark leaves it as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The theme “%1” has no dark variant: Dark leaves it light.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+151"/>
        <source>Choose a wallpaper picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Use Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::EpilepsyWarningSheet</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/EpilepsyWarningSheet.cpp" line="+21"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+8"/>
        <source>Photosensitivity warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Following workspaces can make the screen flash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Every switch between workspaces swaps the desktop underneath: files, icons and wallpaper colours change abruptly, and quick back-and-forth switching can produce rapid flashing. If you (or anyone watching your screen) are sensitive to flashing images or have photosensitive epilepsy, leave this off.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ExperimentalTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/ExperimentalTab.cpp" line="+83"/>
        <source>Early features with rough edges still being sanded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Archive location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Choose custom archive placement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Must be on the same disk as your home directory.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Workspaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quorvane can&apos;t read workspaces on this desktop, so workspace-following is unavailable. Everything else works normally.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Follow workspaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Bindings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Create a desktop first, then bind it to a workspace.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Can&apos;t read the current workspace right now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>You&apos;re in a full-screen app — that workspace can&apos;t be bound.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>You&apos;re on workspace %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>You&apos;re on an unrecognised workspace.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>You&apos;re on workspace %1 of %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+125"/>
        <source>Use Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::FloatingDock</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Dock/FloatingDock.cpp" line="+62"/>
        <source>Floating dock</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::FloatingDockTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/FloatingDockTab.cpp" line="+43"/>
        <source>Summoning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show floating dock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Hot corner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Show in the panel menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+4"/>
        <source>Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-3"/>
        <source>Horizontal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Vertical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+6"/>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-5"/>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Small</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Big</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+5"/>
        <source>Material</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Solid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Glass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Clear glass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+5"/>
        <source>Light or dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Follow the system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Colour the folders by desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remember the dock&apos;s last position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show the flip arrows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Off, the dock is just its folders with a × in the corner — drag it to move it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+2"/>
        <source>Transition speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Slow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1 — used by %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>The system already uses this corner for %1, so both will fire. Pick a free corner, or clear this one in the system settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::FloatingDockView</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Dock/FloatingDockView.cpp" line="+111"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+29"/>
        <source>%1 (current desktop)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Move files to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Move to the top half of the screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move to the bottom half of the screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move to the left half of the screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move to the right half of the screen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::GeneralTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/GeneralTab.cpp" line="+39"/>
        <location line="+117"/>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-108"/>
        <source>Startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+6"/>
        <source>Launch Quorvane on startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-5"/>
        <source>Becomes available once Quorvane is installed as an app.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Start up with desktops minimized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+7"/>
        <source>Open Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-5"/>
        <source>Desktops folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Email…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Copy diagnostics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+51"/>
        <source>No email app is set up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Write to %1 from the email app or web mail you use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Copy Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::HintBar</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/HintBar.cpp" line="+47"/>
        <source>Click to select, drag to reorder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Hide — reopen with the ? above</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::HotKeyCenter</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Triggers/HotKeyCenter.cpp" line="+178"/>
        <source>Cycle next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cycle previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hide / show desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::KeyRecorderView</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Triggers/KeyRecorder.cpp" line="+295"/>
        <source>Press keys…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Record…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::LaunchCoordinator</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Controller/LaunchCoordinator.cpp" line="+267"/>
        <source>Quorvane has no status area</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This desktop shows no status icons, so Quorvane&apos;s menu can&apos;t appear. GNOME shows status icons only with the AppIndicator extension: install “gnome-shell-extension-appindicator” and enable it in Extensions; Quorvane&apos;s icon then appears by itself. Until then, use the settings window and the floating dock.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This desktop shows no status icons, so Quorvane&apos;s menu can&apos;t appear. Where your panel can hold a status tray (notification area), add one: Quorvane&apos;s icon then appears there by itself. Until then, use the settings window and the floating dock.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::NameField</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/NameField.cpp" line="+26"/>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::OrganisationTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/OrganisationTab.cpp" line="+51"/>
        <source>Nothing archived yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No cleanups scheduled — open the calendar and tap a date to add one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show in the panel menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Temporary desktops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+1"/>
        <source>What are temporary desktops?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Archived — to sort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cleanup schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Open calendar…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Notifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remind me about cleanups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Remind at</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repeat two times weekly while overdue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::PinnedFoldersTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/PinnedFoldersTab.cpp" line="+45"/>
        <source>Keep on every desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pin…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+87"/>
        <source>Pin a file or folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-86"/>
        <source>Matched by name, so renaming a pinned item unpins it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>not on the Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No item with this name is on the Desktop right now — it may have been renamed or moved. The pin waits; it re-applies if the name returns.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Unpin %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unpin — the folder stays where it is and is adopted by the current desktop on the next switch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Choose a file or folder on your Desktop to keep on every desktop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>That item isn’t on your Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pinning keeps a Desktop item in place across switches — it doesn’t bring in files from elsewhere. Move it to the Desktop first, then pin it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::SettingsModel</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelDesktops.cpp" line="+63"/>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelRules.cpp" line="+96"/>
        <source>Names can&apos;t start with “_” (reserved).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Names can&apos;t start with “.” (hidden folders).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>“%1” is part of the desktops folder itself — pick another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <location line="+23"/>
        <location line="+21"/>
        <location line="+34"/>
        <location line="+38"/>
        <source>“%1” already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-79"/>
        <source>Couldn&apos;t create the workspace folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+60"/>
        <source>Couldn&apos;t rename the folder: “%1” can&apos;t be used as a folder name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Couldn&apos;t rename the folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Couldn&apos;t move the folder to the Trash: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>“%1” is the active desktop. Switch to another first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>“%1” can&apos;t be used as a folder name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+58"/>
        <source>“%1” isn&apos;t in your desktops folder any more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-253"/>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelRules.cpp" line="+31"/>
        <source>Names can&apos;t contain “/”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelArchive.cpp" line="+85"/>
        <source>“%1” isn&apos;t a folder of the archive, so it stays where it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelLooks.cpp" line="+55"/>
        <location line="+7"/>
        <source>Couldn&apos;t load that image: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelRules.cpp" line="-77"/>
        <source>Couldn&apos;t create the Screenshots desktop: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+56"/>
        <source>Couldn&apos;t create the desktop folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>“%1” no longer exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../Sources/QuorvaneApp/Settings/SettingsModelShortcuts.cpp" line="+11"/>
        <source>%1 is already assigned to %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::SettingsView</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/SettingsView.cpp" line="+98"/>
        <source>Sections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+69"/>
        <source>The folder for “%1” isn’t in your desktops folder any more. Removing it clears the entry — there’s nothing left on disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1

Removing “%2” clears the entry from Quorvane; the folder and its files stay where they are.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>New desktop…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+59"/>
        <source>Can&apos;t do that</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Couldn’t move that desktop to the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Remove from Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ShortcutsTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/ShortcutsTab.cpp" line="+30"/>
        <source>Click a field and press your combo. A modifier (Ctrl, Alt, Shift or Super) is required. Press Backspace to clear, Esc to cancel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Create a desktop to assign a hotkey.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Global</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cycle next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cycle previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Switch to last desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hide / show desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Toggle floating dock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Display in menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show assigned shortcuts in the panel menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Middle-click carousel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Scroll to cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Scroll over the panel icon to switch desktops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Stop %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Desktops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Add desktop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::SpaceBindingRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/SpaceBindingRow.cpp" line="+26"/>
        <location line="+67"/>
        <source>Bind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-37"/>
        <source>Unbind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Bind %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Unbind %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Not bound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+2"/>
        <source>Workspace %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Workspace missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Bound to this workspace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Bind “%1” to the workspace you&apos;re on now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Leave the full-screen app first — full-screen workspaces can&apos;t be bound.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::TemporaryRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/TemporaryRow.cpp" line="+127"/>
        <source>now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+29"/>
        <source>Automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-9"/>
        <source>Destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Where this desktop goes when it&apos;s cleared — kept as-is, a home folder, or the archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>after idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>after fixed time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Clear %1 now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+71"/>
        <source>→ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Move its files into “%1” now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+70"/>
        <source>Move “%1” into “%2”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Its files move into “%1” under a folder named “%2”. Nothing is deleted or overwritten, and the emptied desktop is removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Archive “%1”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-151"/>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+155"/>
        <source>Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-105"/>
        <source>Switch to another desktop first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Archive this desktop now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+73"/>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Move, don&apos;t ask again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+28"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-3"/>
        <source>Moves this desktop&apos;s folder into your archive — nothing is deleted. You can restore it anytime.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Archive, don&apos;t ask again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::UnlistedFolderRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/UnlistedFolderRow.cpp" line="+33"/>
        <source>Open Containing Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show this folder in the file manager.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open Containing Folder of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Make this folder a desktop in Quorvane. Its files stay where they are.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::WorkspaceCreateSheet</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/Calendar/WorkspaceCreateSheet.cpp" line="+21"/>
        <location line="+35"/>
        <source>New desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Alt+Shift with a number is a good choice, usually free.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add to middle-click carousel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Permanent desktops are always in the menu. They are never auto-archived.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Create</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+38"/>
        <source>When should I remind you?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Auto-move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+37"/>
        <source>No other desktop to move into yet — create a permanent one first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Auto-archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Add a cleanup reminder when archived</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::WorkspaceRow</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/WorkspaceRow.cpp" line="+51"/>
        <source>[✂]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Reorder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+58"/>
        <source>Name of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-48"/>
        <location line="+49"/>
        <source>Switch to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-45"/>
        <location line="+46"/>
        <source>Details of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-55"/>
        <location line="+1"/>
        <source>Screenshot collection</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::WorkspacesTab</name>
    <message>
        <location filename="../../Sources/QuorvaneApp/SettingsViews/WorkspacesTab.cpp" line="+62"/>
        <source>Archived</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Found in your desktops folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
