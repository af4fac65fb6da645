# The Debian package of the application: `cpack -G DEB` in a release build folder gives
# quorvane_<version>_<architecture>.deb. It holds what the install rules put under /usr (the
# executable, its desktop entry, icons, AppStream metainfo and manual page) and no maintainer
# scripts: installing or removing it never touches a home folder, so a removal leaves every
# desktops folder as it is.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_CONTACT "Quorvane <${QUORVANE_SUPPORT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "several desktops in one Desktop folder")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane keeps each desktop as a named folder in the home folder and moves the active\n"
    "desktop's files in and out of the Desktop folder from the panel's status area, a\n"
    "shortcut, the floating dock or the command line. Files are only ever moved, never\n"
    "copied, rewritten or deleted, and an uninstall puts every desktop back on the Desktop.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvane.app/")
# The shared libraries the executable links (Qt, xcb, xkbcommon, GLib) by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it runs and reads besides: the session bus, the gsettings and gio tools and the desktop
# schemas they read (the session's look, background and custom shortcuts), and XInput's client
# library, opened when the pointer's motion is first watched.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "default-dbus-session-bus | dbus-session-bus, libglib2.0-bin, gsettings-desktop-schemas, libxcb-xinput0")
# What some sessions use: MATE's shortcut lists (dconf), a Wayland session without an X server,
# the desktop's own look and choosers under "System", and a font to draw text in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "dconf-cli, qt6-wayland, qt6-gtk-platformtheme, fonts-dejavu-core")
include(CPack)
