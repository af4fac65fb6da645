#include "Windows/CompositorProbe.h"
#include "Windows/X11Connection.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QObject>
#include <QTimer>

#include <xcb/xfixes.h>

#include <cstdlib>

namespace quorvane {

namespace {

// The screen of x11::rootWindow(): the first of the connection, as on every usual display.
xcb_atom_t managerSelection()
{
    return x11::atom("_NET_WM_CM_S0");
}

} // namespace

// Listens for the selection's owner changing (a manager starting, quitting or dying) on Qt's
// own connection and tells the observer on the next turn of the event loop, once a change; a
// call still pending when the watch ends is dropped with it.
class LinuxCompositorProbe::Watch final : public QAbstractNativeEventFilter {
public:
    explicit Watch(std::function<void()> changed)
        : m_changed(std::move(changed))
    {
        xcb_connection_t *c = x11::connection();
        const xcb_atom_t selection = managerSelection();
        if (!c || !selection || !QCoreApplication::instance())
            return;
        const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, &xcb_xfixes_id);
        if (!extension || !extension->present)
            return;
        std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
        m_firstEvent = extension->first_event;
        xcb_xfixes_select_selection_input(c, x11::rootWindow(), selection,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        x11::flush();
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_installed = true;
    }
    ~Watch() override
    {
        if (m_installed && QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != m_firstEvent + XCB_XFIXES_SELECTION_NOTIFY)
            return false;
        const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
        // Qt watches the same selection through a window of its own, so each change comes
        // twice on this connection: once for that window and once for the root this watch
        // asked about. The event is not taken from Qt.
        if (notify->selection == managerSelection() && notify->window == x11::rootWindow())
            QTimer::singleShot(0, &m_context, [this] { m_changed(); });
        return false;
    }

private:
    std::function<void()> m_changed;
    QObject m_context; // ends the calls still pending with the watch
    uint8_t m_firstEvent = 0;
    bool m_installed = false;
};

LinuxCompositorProbe::LinuxCompositorProbe() = default;
LinuxCompositorProbe::~LinuxCompositorProbe() = default;

bool LinuxCompositorProbe::compositing() const
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return true;
    xcb_connection_t *c = x11::connection();
    if (!c)
        return false;
    const xcb_atom_t selection = managerSelection();
    if (!selection)
        return false;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

void LinuxCompositorProbe::setOnChange(std::function<void()> changed)
{
    m_watch.reset();
    if (changed)
        m_watch = std::make_unique<Watch>(std::move(changed));
}

} // namespace quorvane
