#include "Tray/XEmbedTrayWatcher.h"

#include "Windows/X11Connection.h"

#include <QCoreApplication>
#include <QTimer>

#include <xcb/xfixes.h>

#include <cstdlib>

namespace quorvane {

namespace {

xcb_atom_t traySelection()
{
    return x11::atom("_NET_SYSTEM_TRAY_S0");
}

} // namespace

XEmbedTrayWatcher::XEmbedTrayWatcher(QObject *parent)
    : QObject(parent)
{
    xcb_connection_t *c = x11::connection();
    const xcb_window_t root = x11::rootWindow();
    const xcb_atom_t selection = traySelection();
    if (!c || !root || !selection || !QCoreApplication::instance())
        return;
    // The MANAGER message goes to the root window's structure listeners: this connection becomes
    // one, keeping what it already listened for there.
    xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr);
    const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::free(attributes);
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (extension && extension->present) {
        std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
        m_xfixesFirstEvent = extension->first_event;
        xcb_xfixes_select_selection_input(c, root, selection, XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    }
    x11::flush();
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_installed = true;
}

XEmbedTrayWatcher::~XEmbedTrayWatcher()
{
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool XEmbedTrayWatcher::trayPresent()
{
    xcb_connection_t *c = x11::connection();
    const xcb_atom_t selection = traySelection();
    if (!c || !selection)
        return false;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

bool XEmbedTrayWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7f;
    bool appeared = false;
    if (type == XCB_CLIENT_MESSAGE) {
        const auto *client = reinterpret_cast<const xcb_client_message_event_t *>(event);
        appeared = client->type == x11::atom("MANAGER") && client->format == 32
            && client->data.data32[1] == traySelection();
    } else if (m_xfixesFirstEvent && type == m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
        appeared = notify->selection == traySelection() && notify->window == x11::rootWindow() && notify->owner != XCB_NONE;
    }
    // Qt sees the event too: its own tray icons follow the new tray.
    if (appeared)
        QTimer::singleShot(0, this, &XEmbedTrayWatcher::trayAppeared);
    return false;
}

} // namespace quorvane
