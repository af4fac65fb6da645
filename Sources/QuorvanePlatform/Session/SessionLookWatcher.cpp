#include "Session/SessionLookWatcher.h"

#include "Session/XSettings.h"
#include "Windows/X11Connection.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdlib>

namespace quorvane {

namespace {

// Adds mask to the events this connection hears from window, keeping those it heard already
// (Qt and the rest of the application listen to the root window too).
void addEventMask(xcb_window_t window, uint32_t mask)
{
    xcb_connection_t *connection = x11::connection();
    xcb_get_window_attributes_reply_t *reply = xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!reply)
        return;
    const uint32_t events = reply->your_event_mask | mask;
    std::free(reply);
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &events);
    x11::flush();
}

} // namespace

SessionLookWatcher::SessionLookWatcher(std::function<void()> changed, QObject *parent)
    : QObject(parent)
    , m_changed(std::move(changed))
{
    // KDE's global settings announce a new palette with change type 0.
    QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/KGlobalSettings"), QStringLiteral("org.kde.KGlobalSettings"),
                                          QStringLiteral("notifyChange"), this, SLOT(kdeSettingsChanged(int, int)));
    if (!x11::connection())
        return;
    // A manager that starts announces itself on the root window (a MANAGER client message).
    addEventMask(x11::rootWindow(), XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    watchManager();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

SessionLookWatcher::~SessionLookWatcher()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void SessionLookWatcher::watchManager()
{
    m_manager = xsettings::managerWindow();
    if (!m_manager)
        return;
    addEventMask(m_manager, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
}

bool SessionLookWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        if (m_manager && change->window == m_manager && change->atom == x11::atom("_XSETTINGS_SETTINGS") && m_changed)
            m_changed();
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto *client = reinterpret_cast<const xcb_client_message_event_t *>(event);
        // Other managers (a tray's) announce themselves the same way: only the settings' counts.
        if (client->window == x11::rootWindow() && client->type == x11::atom("MANAGER")
            && client->data.data32[1] == xsettings::selectionAtom()) {
            watchManager();
            if (m_changed)
                m_changed();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto *destroyed = reinterpret_cast<const xcb_destroy_notify_event_t *>(event);
        if (m_manager && destroyed->window == m_manager) {
            m_manager = 0;
            if (m_changed)
                m_changed();
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void SessionLookWatcher::kdeSettingsChanged(int type, int)
{
    if (type == 0 && m_changed)
        m_changed();
}

} // namespace quorvane
