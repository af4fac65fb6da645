#pragma once

#include "SessionRoads.h"

#include <QLoggingCategory>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace quorvane {

class ActivationPolicy;
class AlertPresenter;
class CompositorProbe;
class DesktopServices;
class Dialogs;
class HotKeyRegistrar;
class KeyLayout;
class LinuxCompositorProbe;
class LinuxDesktopServices;
class LinuxLoginItem;
class LinuxPointerSource;
class LinuxSessionEvents;
class LinuxSpaceProvider;
class LockFileRunningInstances;
class LoginItem;
class MessageBoxAlertPresenter;
class PointerSource;
class QtDialogs;
class QtScheduler;
class QtScreenList;
class RunningInstances;
class Scheduler;
class ScreenList;
class SessionEvents;
class SpaceProvider;
class SwayWorkspaces;
class WidgetActivationPolicy;
class X11KeyLayout;

// The desktop services of one run of the application, built once on the roads its session
// offers, each living as long as the kit. Built after the application object, before anything
// that uses them; the road taken for hot keys and workspaces is logged to the log given.
class PlatformKit {
public:
    struct Setup {
        // The installed application's identifier; empty for an executable run from its build
        // folder, which then has no login item.
        QString identifier;
        QString executablePath;
        // The application's store folder, where the ledger of what it borrows lives.
        QString storeFolder;
        // Whether the choosers go through the desktop portal, asked when the first one opens.
        std::function<bool()> portalDialogs;
    };

    PlatformKit(const PlatformRoads &roads, const Setup &setup, const QLoggingCategory &log);
    ~PlatformKit();
    PlatformKit(const PlatformKit &) = delete;
    PlatformKit &operator=(const PlatformKit &) = delete;

    const PlatformRoads &roads() const { return m_roads; }
    Scheduler &scheduler() const;
    AlertPresenter &alerts() const;
    Dialogs &dialogs() const;
    ActivationPolicy &activation() const;
    // Wakes from logind on the system bus; workspace changes from the X server or the socket.
    SessionEvents &sessionEvents() const;
    SpaceProvider &spaces() const;
    // None on HotKeyRoad::none.
    HotKeyRegistrar *hotKeys() const { return m_hotKeys.get(); }
    // None where the X server gives no layout: the keys are named as on a US layout.
    const KeyLayout *keyLayout() const;
    RunningInstances &instances() const;
    ScreenList &screens() const;
    CompositorProbe &compositor() const;
    PointerSource &pointer() const;
    DesktopServices &desktopServices() const;
    // None without an identifier to start at login under.
    LoginItem *loginItem() const;
    // Opens a folder or an address with the desktop's default handler.
    const std::function<void(const QUrl &)> &openUrl() const { return m_openUrl; }

private:
    PlatformRoads m_roads;
    std::function<void(const QUrl &)> m_openUrl;
    std::unique_ptr<QtScheduler> m_scheduler;
    std::unique_ptr<MessageBoxAlertPresenter> m_alerts;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<WidgetActivationPolicy> m_activation;
    std::unique_ptr<LinuxSessionEvents> m_sessionEvents;
    std::unique_ptr<LinuxSpaceProvider> m_rootWorkspaces;
    std::unique_ptr<SwayWorkspaces> m_socketWorkspaces;
    std::unique_ptr<HotKeyRegistrar> m_hotKeys;
    std::unique_ptr<X11KeyLayout> m_keyLayout;
    std::unique_ptr<LockFileRunningInstances> m_instances;
    std::unique_ptr<QtScreenList> m_screens;
    std::unique_ptr<LinuxCompositorProbe> m_compositor;
    std::unique_ptr<LinuxPointerSource> m_pointer;
    std::unique_ptr<LinuxDesktopServices> m_desktopServices;
    std::unique_ptr<LinuxLoginItem> m_loginItem;
};

} // namespace quorvane
