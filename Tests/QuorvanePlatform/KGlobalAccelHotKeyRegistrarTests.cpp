#include "KGlobalAccelHotKeyRegistrar.h"
#include "Wait.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::waitUntil;

namespace {

QVariant ask(const char *method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall("org.kde.kglobalaccel", "/kglobalaccel",
                                                          "org.quorvane.test.Keys", method);
    message.setArguments(arguments);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
    return reply.arguments().value(0);
}

constexpr std::uint32_t control = 0x1000, option = 0x800;
constexpr std::uint32_t key1 = 18, key9 = 25; // the keys typing "1" and "9"

} // namespace

TEST(KGlobalAccelHotKeyRegistrar, QtKeyCodesOfCombinations)
{
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::qtKeyCode(key1, control | option), (Qt::CTRL | Qt::ALT | Qt::Key_1).toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::qtKeyCode(0, 0x100 | 0x200), (Qt::META | Qt::SHIFT | Qt::Key_A).toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::qtKeyCode(122, 0), int(Qt::Key_F1));
    EXPECT_FALSE(KGlobalAccelHotKeyRegistrar::qtKeyCode(0xFFFF, control));
}

// Against a stand-in for the service on the test's own bus (run under dbus-run-session).
TEST(KGlobalAccelHotKeyRegistrarOnABus, RegistersRefusesAndReportsPresses)
{
    const QByteArray fake = qgetenv("QUORVANE_FAKE_KGLOBALACCEL");
    if (fake.isEmpty() || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "needs a bus of its own and the stand-in service";
    QDBusConnection bus = QDBusConnection::sessionBus();
    EXPECT_FALSE(KGlobalAccelHotKeyRegistrar::availableOn(bus));
    QProcess service;
    // Debian's own interpreter, which has the D-Bus bindings.
    service.start(QStringLiteral("/usr/bin/python3"), {QString::fromLocal8Bit(fake)});
    ASSERT_TRUE(waitUntil([&] { return KGlobalAccelHotKeyRegistrar::availableOn(bus); }, 5000));

    std::vector<HotKeyRegistrar::HotKeyId> pressed;
    {
        KGlobalAccelHotKeyRegistrar registrar(bus, QStringLiteral("app.quorvane.Quorvane"), QStringLiteral("Quorvane"));
        registrar.setPressedHandler([&](HotKeyRegistrar::HotKeyId id) { pressed.push_back(id); });
        const auto one = registrar.registerHotKey(key1, control | option, {0x51564e45, 1});
        ASSERT_TRUE(one);
        EXPECT_FALSE(registrar.registerHotKey(key1, control | option, {0x51564e45, 2})); // its own already
        EXPECT_FALSE(registrar.registerHotKey(key9, control | option, {0x51564e45, 3})); // another program's
        EXPECT_FALSE(ask("actions").toStringList().contains("app.quorvane.Quorvane/hotkey-1364610629-3"));

        EXPECT_TRUE(ask("press", {(Qt::CTRL | Qt::ALT | Qt::Key_1).toCombined()}).toBool());
        ASSERT_TRUE(waitUntil([&] { return !pressed.empty(); }));
        EXPECT_EQ(pressed.front(), (HotKeyRegistrar::HotKeyId{0x51564e45, 1}));

        registrar.unregisterHotKey(*one);
        EXPECT_FALSE(ask("press", {(Qt::CTRL | Qt::ALT | Qt::Key_1).toCombined()}).toBool());
        ASSERT_TRUE(registrar.registerHotKey(key1, control, {0x51564e45, 4}));
    }
    // The destructor gives every action back.
    EXPECT_EQ(ask("actions").toStringList(), QStringList{"other/taken"});
    service.terminate();
    service.waitForFinished(3000);
}
