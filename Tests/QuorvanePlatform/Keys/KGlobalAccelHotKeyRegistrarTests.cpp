#include "Keys/KGlobalAccelHotKeyRegistrar.h"
#include "Keys/KeyLayout.h"
#include "Wait.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QKeySequence>
#include <QProcess>
#include <gtest/gtest.h>

#include <map>

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

const QKeyCombination ctrlAlt1 = Qt::CTRL | Qt::ALT | Qt::Key_1, ctrlAlt9 = Qt::CTRL | Qt::ALT | Qt::Key_9;

// What keys type with Shift, by virtual key code, as a layout other than the US one has it.
struct ShiftedLayout final : KeyLayout {
    std::map<std::uint32_t, QString> shifted;
    std::optional<QString> characters(std::uint32_t) const override { return std::nullopt; }
    std::optional<QString> shiftedCharacters(std::uint32_t virtualKey) const override
    {
        const auto found = shifted.find(virtualKey);
        return found == shifted.end() ? std::nullopt : std::optional<QString>(found->second);
    }
};

QString serviceName(QKeyCombination combination, const KeyLayout &layout)
{
    return QKeySequence(KGlobalAccelHotKeyRegistrar::serviceKeyCode(combination, &layout)).toString();
}

} // namespace

TEST(KGlobalAccelHotKeyRegistrar, TheServiceTakesTheKeypadsKeysAsTheMainRows)
{
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(ctrlAlt1), ctrlAlt1.toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::MetaModifier | Qt::KeypadModifier | Qt::Key_1),
              (Qt::META | Qt::Key_1).toCombined());
}

// Shift with a digit or a sign is named by the symbol it types (a compositor matches the press,
// its Shift used up, under that name alone); letters and the keypad keep Shift.
TEST(KGlobalAccelHotKeyRegistrar, ShiftedDigitsAndSignsAreNamedByTheirSymbol)
{
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ALT | Qt::SHIFT | Qt::Key_1), (Qt::ALT | Qt::Key_Exclam).toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ALT | Qt::SHIFT | Qt::Key_4), (Qt::ALT | Qt::Key_Dollar).toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::CTRL | Qt::SHIFT | Qt::Key_Slash),
              (Qt::CTRL | Qt::Key_Question).toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::META | Qt::SHIFT | Qt::Key_W),
              (Qt::META | Qt::SHIFT | Qt::Key_W).toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ShiftModifier | Qt::KeypadModifier | Qt::Key_1),
              (Qt::SHIFT | Qt::Key_1).toCombined());
    EXPECT_EQ(QKeySequence(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ALT | Qt::SHIFT | Qt::Key_2)).toString(), "Alt+@");
}

// On another layout the sign is the one the digit's key types with Shift there: German Shift+2 is
// '"', Shift+3 '§'; French digits are typed with Shift. A key the layout tells nothing of, or
// gives more than one character, keeps the US sign; one that types a letter keeps its Shift.
TEST(KGlobalAccelHotKeyRegistrar, ShiftedDigitsAreNamedAsTheLayoutTypesThem)
{
    constexpr std::uint32_t key1 = 18, key2 = 19, key3 = 20, key4 = 21, key5 = 23, leftBracket = 33;
    ShiftedLayout german;
    german.shifted = {{key1, "!"}, {key2, "\""}, {key3, "\u00a7"}, {leftBracket, "\u00dc"}};
    EXPECT_EQ(serviceName(Qt::ALT | Qt::SHIFT | Qt::Key_2, german), "Alt+\"");
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ALT | Qt::SHIFT | Qt::Key_3, &german),
              (Qt::ALT | Qt::Key_section).toCombined());
    EXPECT_EQ(serviceName(Qt::ALT | Qt::SHIFT | Qt::Key_1, german), "Alt+!");
    EXPECT_EQ(serviceName(Qt::ALT | Qt::SHIFT | Qt::Key_4, german), "Alt+$"); // not told: US
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ALT | Qt::SHIFT | Qt::Key_BracketLeft, &german),
              (Qt::ALT | Qt::SHIFT | Qt::Key(0xdc)).toCombined());
    // Without Shift, or on the keypad, the layout changes nothing.
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(ctrlAlt1, &german), ctrlAlt1.toCombined());
    EXPECT_EQ(KGlobalAccelHotKeyRegistrar::serviceKeyCode(Qt::ShiftModifier | Qt::KeypadModifier | Qt::Key_2, &german),
              (Qt::SHIFT | Qt::Key_2).toCombined());

    ShiftedLayout french;
    french.shifted = {{key1, "1"}, {key2, "2"}, {key5, "5"}, {key4, "ab"}};
    EXPECT_EQ(serviceName(Qt::ALT | Qt::SHIFT | Qt::Key_1, french), "Alt+1");
    EXPECT_EQ(serviceName(Qt::ALT | Qt::SHIFT | Qt::Key_5, french), "Alt+5");
    EXPECT_EQ(serviceName(Qt::ALT | Qt::SHIFT | Qt::Key_4, french), "Alt+$");
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

    std::vector<quint32> pressed;
    {
        KGlobalAccelHotKeyRegistrar registrar(bus, QStringLiteral("app.quorvane.Quorvane"), QStringLiteral("Quorvane"));
        QObject::connect(&registrar, &HotKeyRegistrar::pressed, [&](quint32 id) { pressed.push_back(id); });
        ASSERT_TRUE(registrar.registerHotKey(ctrlAlt1, 1, std::nullopt));
        EXPECT_FALSE(registrar.registerHotKey(ctrlAlt1, 2, std::nullopt)); // its own already
        EXPECT_FALSE(registrar.registerHotKey(ctrlAlt9, 3, std::nullopt)); // another program's
        EXPECT_FALSE(ask("actions").toStringList().contains("app.quorvane.Quorvane/hotkey-3"));

        EXPECT_TRUE(ask("press", {ctrlAlt1.toCombined()}).toBool());
        ASSERT_TRUE(waitUntil([&] { return !pressed.empty(); }));
        EXPECT_EQ(pressed.front(), 1u);

        registrar.unregisterHotKey(1);
        EXPECT_FALSE(ask("press", {ctrlAlt1.toCombined()}).toBool());
        ASSERT_TRUE(registrar.registerHotKey(Qt::CTRL | Qt::Key_1, 4, std::nullopt));
    }
    // The destructor gives every action back.
    EXPECT_EQ(ask("actions").toStringList(), QStringList{"other/taken"});
    service.terminate();
    service.waitForFinished(3000);
}
