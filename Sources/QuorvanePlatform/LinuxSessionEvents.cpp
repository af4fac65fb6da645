#include "LinuxSessionEvents.h"

#include "X11Connection.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstdlib>

namespace quorvane {

namespace {

// Adds PropertyChange to what the root window already reports to this client: Qt's own
// selection there stays as it is.
bool selectPropertyChanges(xcb_connection_t *c, xcb_window_t root)
{
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr);
    if (!attributes)
        return false;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    std::free(attributes);
    xcb_generic_error_t *error =
        xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        std::free(error);
        return false;
    }
    return true;
}

} // namespace

LinuxSessionEvents::LinuxSessionEvents(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
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
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

LinuxSessionEvents::~LinuxSessionEvents()
{
    if (m_root && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

SessionEvents::Token LinuxSessionEvents::observeWake(std::function<void()> observer)
{
    m_wake.emplace(++m_last, std::move(observer));
    return m_last;
}

SessionEvents::Token LinuxSessionEvents::observeWorkspaceChange(std::function<void()> observer)
{
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
    if (property->window == m_root && property->atom == m_currentDesktopAtom)
        notifyLater(m_workspace);
    // Qt and other filters see the event too.
    return false;
}

void LinuxSessionEvents::notifyLater(const Observers &observers)
{
    QPointer<LinuxSessionEvents> weak(this);
    QMetaObject::invokeMethod(this, [weak, &observers] {
        if (weak)
            notify(observers);
    }, Qt::QueuedConnection);
}

void LinuxSessionEvents::notify(const Observers &observers)
{
    const Observers copy = observers; // an observer may remove itself or add another
    for (const auto &[token, observer] : copy)
        observer();
}

} // namespace quorvane
