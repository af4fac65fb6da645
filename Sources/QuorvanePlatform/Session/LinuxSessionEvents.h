#pragma once

#include "Session/SessionEvents.h"
#include "Workspaces/SpaceProvider.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QObject>
#include <QVariant>

#include <functional>
#include <map>

namespace quorvane {

class SwayWorkspaces;

// The session's notifications on Linux: a wake is logind's PrepareForSleep(false) on the given
// bus (the system bus in the application; none reaches it when that bus is not connected), a
// workspace change is a new _NET_CURRENT_DESKTOP on the root window, seen on Qt's X connection
// (none without X11), or the current Space turning full screen or back (the active window, or
// its _NET_WM_STATE, changed; see LinuxSpaceProvider). Observers are called from the event loop,
// never from inside the filter.
class LinuxSessionEvents final : public QObject, public SessionEvents, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // Watches at once, on the given bus.
    explicit LinuxSessionEvents(const QDBusConnection &bus, QObject *parent = nullptr);
    // Watches from the first observer on: the bus is connected to then (the application's
    // start does not wait for the system bus and the display's round trips).
    explicit LinuxSessionEvents(std::function<QDBusConnection()> bus, QObject *parent = nullptr);
    ~LinuxSessionEvents() override;

    Token observeWake(std::function<void()> observer) override;
    Token observeWorkspaceChange(std::function<void()> observer) override;
    void removeObserver(Token token) override;

    // A window manager that publishes its workspaces over its IPC socket: each change it reports
    // is a workspace change.
    void followWorkspaces(SwayWorkspaces &workspaces);

    // True once the root window's property changes reach this object.
    bool watchesWorkspaces() const { return m_root != 0; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private slots:
    void prepareForSleep(bool sleeping);

private:
    void startWhenObserved();
    void start(const QDBusConnection &bus);
    using Observers = std::map<Token, std::function<void()>>;
    static void notify(const Observers &observers);
    void notifyLater(const Observers &observers);
    // Once the event loop is back: watches the active window's properties and reports a
    // workspace change when the current Space is no longer the one last seen.
    void checkSpaceLater();
    void watchActiveWindow();

    std::function<QDBusConnection()> m_bus; // until the first observer
    Observers m_wake;
    Observers m_workspace;
    Token m_last = 0;
    // The root window's workspaces, read afresh at each change.
    LinuxSpaceProvider m_workspaces;
    std::uint32_t m_root = 0;
    std::uint32_t m_currentDesktopAtom = 0;
    std::uint32_t m_activeWindowAtom = 0;
    std::uint32_t m_stateAtom = 0;
    // The active window whose property changes this client selected, and what it selected on
    // that window before (restored when another window becomes active).
    std::uint32_t m_watched = 0;
    std::uint32_t m_watchedMask = 0;
    QVariant m_lastSpace;
    bool m_checkQueued = false;
};

} // namespace quorvane
