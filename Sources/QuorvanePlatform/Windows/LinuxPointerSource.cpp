#include "Windows/PointerSource.h"
#include "Windows/X11Connection.h"
#include "Windows/XInputLibrary.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>

#include <cstdlib>

namespace quorvane {

namespace {

// The pointer is read on a connection of its own. A round trip on Qt's connection also wakes
// Qt's event reader thread for the reply, once per movement (or per poll where movements are
// not notified).
struct PointerConnection {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;

    PointerConnection()
    {
        int screenNumber = 0;
        xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        if (!it.rem) {
            xcb_disconnect(c);
            return;
        }
        connection = c;
        root = it.data->root;
    }
    ~PointerConnection()
    {
        if (connection)
            xcb_disconnect(connection);
    }
    PointerConnection(const PointerConnection &) = delete;
    PointerConnection &operator=(const PointerConnection &) = delete;
};

} // namespace

// The raw motion events of every master pointer, selected on the root window of a connection
// that sends nothing else, so its socket is readable only when the pointer moved. A pointer at
// rest wakes nobody. Raw events come from input devices: a warp by a program is seen with the
// next real movement.
struct LinuxPointerSource::Motion {
    xcb_connection_t *connection = nullptr;
    std::uint8_t opcode = 0;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> onChange;

    ~Motion() { close(); }

    bool open()
    {
        const XInputLibrary *input = XInputLibrary::get();
        if (!input)
            return false;
        int screenNumber = 0;
        xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return false;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, input->id);
        xcb_input_xi_query_version_reply_t *version =
            extension && extension->present ? input->queryVersionReply(c, input->queryVersion(c, 2, 0), nullptr) : nullptr;
        const bool usable = it.rem && version && version->major_version >= 2;
        std::free(version);
        if (!usable) {
            xcb_disconnect(c);
            return false;
        }
        struct {
            xcb_input_event_mask_t head;
            std::uint32_t bits;
        } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_MOTION};
        xcb_generic_error_t *error =
            xcb_request_check(c, input->selectEventsChecked(c, it.data->root, 1, &mask.head));
        if (error) {
            std::free(error);
            xcb_disconnect(c);
            return false;
        }
        connection = c;
        opcode = extension->major_opcode;
        notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] { drain(); });
        return true;
    }

    void close()
    {
        // Closed from the change handler too, that is from inside the notifier's own signal.
        if (notifier) {
            notifier->setEnabled(false);
            notifier.release()->deleteLater();
        }
        if (connection)
            xcb_disconnect(connection);
        connection = nullptr;
    }

    // Everything the server sent so far, then one change for all the movements in it.
    void drain()
    {
        bool moved = false;
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_GE_GENERIC) {
                const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
                moved = moved || (generic->extension == opcode && generic->event_type == XCB_INPUT_RAW_MOTION);
            }
            std::free(event);
        }
        if (xcb_connection_has_error(connection)) {
            // The server went away: nothing more will come on this connection.
            notifier->setEnabled(false);
            return;
        }
        // The handler may stop the notifications, which ends this object: a copy runs, last.
        if (moved && onChange) {
            const std::function<void()> handler = onChange;
            handler();
        }
    }
};

LinuxPointerSource::LinuxPointerSource() = default;

LinuxPointerSource::~LinuxPointerSource() = default;

bool LinuxPointerSource::notifyChanges(std::function<void()> onChange)
{
    if (!onChange) {
        m_motion.reset();
        return true;
    }
    if (!m_motion) {
        if (!x11::connection())
            return false;
        auto motion = std::make_unique<Motion>();
        if (!motion->open())
            return false;
        m_motion = std::move(motion);
    }
    m_motion->onChange = std::move(onChange);
    return true;
}

std::optional<PointerSource::State> LinuxPointerSource::read() const
{
    // Only where the application itself runs on X11; then on the same display as Qt's.
    if (!x11::connection())
        return std::nullopt;
    static PointerConnection own;
    xcb_connection_t *c = own.connection ? own.connection : x11::connection();
    const xcb_window_t root = own.connection ? own.root : x11::rootWindow();
    if (!root)
        return std::nullopt;
    xcb_query_pointer_reply_t *reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr);
    if (!reply)
        return std::nullopt;
    const bool held = (reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
    // The reply's root position is in device pixels; one round trip serves both answers.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    const QPointF position(reply->root_x / ratio, reply->root_y / ratio);
    std::free(reply);
    return State{position, held};
}

} // namespace quorvane
