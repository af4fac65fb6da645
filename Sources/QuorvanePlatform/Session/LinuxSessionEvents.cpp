#include "Session/LinuxSessionEvents.h"

#include "Windows/X11Connection.h"
#include "Workspaces/SwayWorkspaces.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstdlib>
#include <optional>
#include <utility>

namespace quorvane {

namespace {

// Adds PropertyChange to what the window already reports to this client (Qt's own selection
// there stays as it is); the selection before, none when the window is gone.
std::optional<std::uint32_t> selectPropertyChanges(xcb_connection_t *c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (!attributes)
        return std::nullopt;
    const std::uint32_t before = attributes->your_event_mask;
    const std::uint32_t mask = before | XCB_EVENT_MASK_PROPERTY_CHANGE;
    std::free(attributes);
    xcb_generic_error_t *error =
        xcb_request_check(c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        std::free(error);
        return std::nullopt;
    }
    return before;
}

// The current Space as the provider describes it; null when it names none.
QVariant currentSpace(const LinuxSpaceProvider &workspaces)
{
    const auto displays = workspaces.managedDisplaySpaces();
    if (!displays || displays->isEmpty())
        return {};
    return displays->first().toMap().value(QStringLiteral("Current Space"));
}

} // namespace

LinuxSessionEvents::LinuxSessionEvents(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
{
    start(bus);
}

LinuxSessionEvents::LinuxSessionEvents(std::function<QDBusConnection()> bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
}

void LinuxSessionEvents::startWhenObserved()
{
    if (m_bus)
        start(std::exchange(m_bus, {})());
}

void LinuxSessionEvents::start(const QDBusConnection &bus)
{
    if (bus.isConnected()) {
        QDBusConnection(bus).connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                                     QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                                     this, SLOT(prepareForSleep(bool)));
    }
    xcb_connection_t *c = x11::connection();
    const xcb_window_t root = x11::rootWindow();
    const xcb_atom_t atom = x11::atom(QByteArrayLiteral("_NET_CURRENT_DESKTOP"));
    if (c && root && atom && selectPropertyChanges(c, root)) {
        m_root = root;
        m_currentDesktopAtom = atom;
        m_activeWindowAtom = x11::atom(QByteArrayLiteral("_NET_ACTIVE_WINDOW"));
        m_stateAtom = x11::atom(QByteArrayLiteral("_NET_WM_STATE"));
        watchActiveWindow();
        m_lastSpace = currentSpace(m_workspaces);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

LinuxSessionEvents::~LinuxSessionEvents()
{
    if (m_root && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t *c = m_watched ? x11::connection() : nullptr) {
        xcb_change_window_attributes(c, m_watched, XCB_CW_EVENT_MASK, &m_watchedMask);
        xcb_flush(c);
    }
}

void LinuxSessionEvents::watchActiveWindow()
{
    xcb_connection_t *c = x11::connection();
    const auto active = m_workspaces.activeWindow();
    const std::uint32_t window = active ? std::uint32_t(*active) : 0;
    if (!c || window == m_watched)
        return;
    // The window that was active reports to this client what it did before; a window that is
    // gone refuses quietly.
    if (m_watched)
        xcb_change_window_attributes(c, m_watched, XCB_CW_EVENT_MASK, &m_watchedMask);
    m_watched = 0;
    if (const auto before = window ? selectPropertyChanges(c, window) : std::nullopt) {
        m_watched = window;
        m_watchedMask = *before;
    }
    xcb_flush(c);
}

void LinuxSessionEvents::checkSpaceLater()
{
    if (m_checkQueued)
        return;
    m_checkQueued = true;
    QPointer<LinuxSessionEvents> weak(this);
    QMetaObject::invokeMethod(
        this, [weak] {
            if (!weak)
                return;
            weak->m_checkQueued = false;
            weak->watchActiveWindow();
            const QVariant space = currentSpace(weak->m_workspaces);
            if (space == weak->m_lastSpace)
                return;
            weak->m_lastSpace = space;
            notify(weak->m_workspace);
        },
        Qt::QueuedConnection);
}

SessionEvents::Token LinuxSessionEvents::observeWake(std::function<void()> observer)
{
    startWhenObserved();
    m_wake.emplace(++m_last, std::move(observer));
    return m_last;
}

SessionEvents::Token LinuxSessionEvents::observeWorkspaceChange(std::function<void()> observer)
{
    startWhenObserved();
    m_workspace.emplace(++m_last, std::move(observer));
    return m_last;
}

void LinuxSessionEvents::removeObserver(Token token)
{
    m_wake.erase(token);
    m_workspace.erase(token);
}

void LinuxSessionEvents::prepareForSleep(bool sleeping)
{
    // True announces the sleep, false the wake after it.
    if (!sleeping)
        notify(m_wake);
}

bool LinuxSessionEvents::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
    if (property->window == m_root && property->atom == m_currentDesktopAtom) {
        notifyLater(m_workspace);
        // The Space seen with the new workspace, so that only a later change of its kind counts.
        QPointer<LinuxSessionEvents> weak(this);
        QMetaObject::invokeMethod(
            this, [weak] {
                if (weak)
                    weak->m_lastSpace = currentSpace(weak->m_workspaces);
            },
            Qt::QueuedConnection);
    } else if ((property->window == m_root && property->atom == m_activeWindowAtom)
               || (m_watched && property->window == m_watched && property->atom == m_stateAtom)) {
        checkSpaceLater();
    }
    // Qt and other filters see the event too.
    return false;
}

void LinuxSessionEvents::followWorkspaces(SwayWorkspaces &workspaces)
{
    connect(&workspaces, &SwayWorkspaces::changed, this, [this] { notify(m_workspace); });
}

void LinuxSessionEvents::notifyLater(const Observers &observers)
{
    QPointer<LinuxSessionEvents> weak(this);
    QMetaObject::invokeMethod(
        this, [weak, &observers] {
            if (weak)
                notify(observers);
        },
        Qt::QueuedConnection);
}

void LinuxSessionEvents::notify(const Observers &observers)
{
    const Observers copy = observers; // an observer may remove itself or add another
    for (const auto &[token, observer] : copy)
        observer();
}

} // namespace quorvane
