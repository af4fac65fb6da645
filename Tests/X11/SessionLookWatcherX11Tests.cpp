#include "Session/SessionLookWatcher.h"

#include "Session/XSettings.h"
#include "Windows/X11Connection.h"
#include "X11Support.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// An XSETTINGS manager of another client: its window owns the screen's selection and carries the
// settings, one string: Net/ThemeName.
struct Manager : OtherClient {
    xcb_window_t window = xcb_generate_id(connection);

    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, false, quint16(strlen(name)), name), nullptr);
        const xcb_atom_t found = reply ? reply->atom : 0;
        free(reply);
        return found;
    }
    void start(const QByteArray &theme)
    {
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        publish(theme);
        xcb_set_selection_owner(connection, window, atom("_XSETTINGS_S0"), XCB_CURRENT_TIME);
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = root;
        message.type = atom("MANAGER");
        message.data.data32[1] = atom("_XSETTINGS_S0");
        message.data.data32[2] = window;
        xcb_send_event(connection, false, root, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char *>(&message));
        sync();
    }
    void publish(const QByteArray &theme)
    {
        const QByteArray name = "Net/ThemeName";
        QByteArray data(12, '\0'); // little-endian, serial 0
        qToLittleEndian<quint32>(1, data.data() + 8);
        QByteArray entry(4, '\0');
        entry[0] = 1; // a string
        qToLittleEndian<quint16>(quint16(name.size()), entry.data() + 2);
        data += entry + name + QByteArray((4 - name.size() % 4) % 4, '\0') + QByteArray(4, '\0');
        QByteArray length(4, '\0');
        qToLittleEndian<quint32>(quint32(theme.size()), length.data());
        data += length + theme + QByteArray((4 - theme.size() % 4) % 4, '\0');
        const xcb_atom_t property = atom("_XSETTINGS_SETTINGS");
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, property, 8, quint32(data.size()),
                            data.constData());
        sync();
    }
};

} // namespace

TEST(SessionLookX11, AManagersThemeIsReadAndItsChangesAreHeard)
{
    EXPECT_EQ(xsettings::themeName(), std::nullopt); // no manager yet
    int changes = 0;
    SessionLookWatcher watcher([&] { ++changes; });

    Manager manager;
    manager.start("Adwaita");
    EXPECT_TRUE(waitUntil([&] { return changes >= 1; })) << "a manager that starts is heard";
    EXPECT_EQ(xsettings::themeName(), QStringLiteral("Adwaita"));
    EXPECT_FALSE(xsettings::themeIsDark());

    const int before = changes;
    manager.publish("Adwaita-dark");
    EXPECT_TRUE(waitUntil([&] { return changes > before; }));
    EXPECT_TRUE(xsettings::themeIsDark());
}

TEST(SessionLookX11, KdesNewPaletteIsHeardItsOtherChangesAreNot)
{
    // The last test's manager going away is an X event that may still be on its way: once the
    // selection has no owner, what the server sent about it is handled here, before any watcher
    // listens.
    ASSERT_TRUE(waitUntil([] { return !xsettings::themeName(); })) << "the last test's manager is still there";
    waitUntil([] { return false; }, 300);
    int changes = 0;
    SessionLookWatcher watcher([&] { ++changes; });
    const auto announce = [](int type) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"), QStringLiteral("org.kde.KGlobalSettings"),
                                                         QStringLiteral("notifyChange"));
        signal << type << 0;
        return QDBusConnection::sessionBus().send(signal);
    };
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(announce(2)); // the fonts
        ASSERT_TRUE(announce(0)); // the palette, a colour scheme chosen
    }
    EXPECT_TRUE(waitUntil([&] { return changes >= 2; }));
    // A call to the bus is answered after it has passed on every signal sent before it.
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus")));
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 2) << "only the palette's changes count";
}
