#include "Keys/X11HotKeyRegistrar.h"

#include "Windows/X11Connection.h"
#include "X11Support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QKeyCombination ctrlAltD = Qt::CTRL | Qt::ALT | Qt::Key_D, ctrlAltJ = Qt::CTRL | Qt::ALT | Qt::Key_J,
                      ctrlAltK = Qt::CTRL | Qt::ALT | Qt::Key_K;
constexpr xcb_keycode_t keyD = 40, keyJ = 44, keyK = 45;
constexpr std::uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr std::uint16_t lockStates[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

struct X11HotKeyRegistrarTest : ::testing::Test {
    X11HotKeyRegistrar registrar;
    std::vector<std::uint32_t> pressed;

    void SetUp() override
    {
        ASSERT_NE(x11::connection(), nullptr);
        QObject::connect(&registrar, &HotKeyRegistrar::pressed, [this](quint32 id) { pressed.push_back(id); });
    }
    void TearDown() override
    {
        // Leave no lock key on for the next test.
        for (const char *lock : {"Caps_Lock", "Num_Lock"}) {
            if (locked(lock))
                run("xdotool", {"key", lock});
        }
    }
    static bool locked(const char *name)
    {
        QProcess xset;
        xset.start("xset", {"q"});
        xset.waitForFinished();
        const QString out = QString::fromUtf8(xset.readAllStandardOutput());
        const QString label = QString(name) == "Caps_Lock" ? "Caps Lock:" : "Num Lock:";
        const int at = out.indexOf(label);
        return at >= 0 && out.mid(at + label.size()).trimmed().startsWith("on");
    }
    bool press(const char *keys, std::size_t expected)
    {
        if (!run("xdotool", {"key", keys}))
            return false;
        return waitUntil([&] { return pressed.size() >= expected; });
    }
};

bool take(X11HotKeyRegistrar &registrar, QKeyCombination combination, HotKeyRegistrar::Id id)
{
    return registrar.registerHotKey(combination, id, std::nullopt);
}

} // namespace

TEST(X11HotKeyModifiers, EachBitHasItsXModifier)
{
    EXPECT_EQ(X11HotKeyRegistrar::xModifiers(Qt::ShiftModifier), XCB_MOD_MASK_SHIFT);
    EXPECT_EQ(X11HotKeyRegistrar::xModifiers(Qt::ControlModifier), XCB_MOD_MASK_CONTROL);
    EXPECT_EQ(X11HotKeyRegistrar::xModifiers(Qt::AltModifier), XCB_MOD_MASK_1);
    EXPECT_EQ(X11HotKeyRegistrar::xModifiers(Qt::MetaModifier), XCB_MOD_MASK_4);
    EXPECT_EQ(X11HotKeyRegistrar::xModifiers(Qt::KeyboardModifierMask), XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4);
}

TEST_F(X11HotKeyRegistrarTest, PressesFireWithAndWithoutLockAndNumLock)
{
    ASSERT_TRUE(take(registrar, ctrlAltD, 7));
    ASSERT_TRUE(press("ctrl+alt+d", 1));
    run("xdotool", {"key", "Caps_Lock"});
    ASSERT_TRUE(locked("Caps_Lock"));
    ASSERT_TRUE(press("ctrl+alt+d", 2));
    run("xdotool", {"key", "Num_Lock"});
    ASSERT_TRUE(locked("Num_Lock"));
    ASSERT_TRUE(press("ctrl+alt+d", 3)); // both locks
    run("xdotool", {"key", "Caps_Lock"});
    ASSERT_TRUE(press("ctrl+alt+d", 4)); // Num Lock alone
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{7, 7, 7, 7}));

    // Another combination of the same key is not this one.
    run("xdotool", {"key", "ctrl+shift+d", "alt+d", "d"});
    serveFor(300);
    EXPECT_EQ(pressed.size(), 4u);
}

// A shortcut names the key's place: Alt+Shift+2 fires for the key of the 2 on every layout, as a
// German user types Alt+" and a French one Alt+Shift+é (its 2 is typed with Shift there).
TEST_F(X11HotKeyRegistrarTest, ShiftedDigitsFireOnTheLayoutInEffect)
{
    ASSERT_TRUE(take(registrar, Qt::ALT | Qt::SHIFT | Qt::Key_2, 5));
    ASSERT_TRUE(run("setxkbmap", {"de"}));
    const bool german = press("alt+quotedbl", 1);
    ASSERT_TRUE(run("setxkbmap", {"fr"}));
    const bool french = press("alt+2", 2); // xdotool adds the Shift the layout's 2 needs
    run("xdotool", {"key", "alt+eacute"}); // the same key without Shift is not the shortcut
    serveFor(300);
    ASSERT_TRUE(run("setxkbmap", {"us"}));
    EXPECT_TRUE(german);
    EXPECT_TRUE(french);
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{5, 5}));
}

TEST_F(X11HotKeyRegistrarTest, ACombinationAnotherClientHoldsIsRefusedWholly)
{
    OtherClient other;
    // The other program holds only the caps-lock variant: none of the four stays grabbed here.
    ASSERT_TRUE(other.grab(keyJ, controlAlt | XCB_MOD_MASK_LOCK));
    EXPECT_FALSE(take(registrar, ctrlAltJ, 1));
    other.ungrab(keyJ, controlAlt | XCB_MOD_MASK_LOCK);
    for (const std::uint16_t extra : lockStates)
        EXPECT_TRUE(other.grab(keyJ, controlAlt | extra)) << extra;

    // The next combination still works.
    ASSERT_TRUE(take(registrar, ctrlAltK, 2));
    ASSERT_TRUE(press("ctrl+alt+k", 1));
    EXPECT_EQ(pressed, std::vector<std::uint32_t>{2});
}

TEST_F(X11HotKeyRegistrarTest, OneCombinationOnceAndUnknownKeysRefused)
{
    ASSERT_TRUE(take(registrar, ctrlAltD, 1));
    EXPECT_FALSE(take(registrar, ctrlAltD, 2));
    EXPECT_FALSE(take(registrar, ctrlAltK, 1)); // an id held already
    EXPECT_FALSE(take(registrar, Qt::CTRL | Qt::ALT | Qt::Key_Launch0, 3));
    EXPECT_FALSE(take(registrar, Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_A, 4));
    ASSERT_TRUE(press("ctrl+alt+d", 1));
    serveFor(200);
    EXPECT_EQ(pressed, std::vector<std::uint32_t>{1});
}

TEST_F(X11HotKeyRegistrarTest, UnregisteringAndTheDestructorReleaseAllFourGrabs)
{
    OtherClient other;
    ASSERT_TRUE(take(registrar, ctrlAltD, 1));
    EXPECT_FALSE(other.grab(keyD, controlAlt | XCB_MOD_MASK_2));
    registrar.unregisterHotKey(1);
    run("xdotool", {"key", "ctrl+alt+d"});
    serveFor(200);
    EXPECT_TRUE(pressed.empty());
    for (const std::uint16_t extra : lockStates) {
        EXPECT_TRUE(other.grab(keyD, controlAlt | extra)) << extra;
        other.ungrab(keyD, controlAlt | extra);
    }
    // The same combination may be registered again once let go.
    EXPECT_TRUE(take(registrar, ctrlAltD, 2));

    {
        X11HotKeyRegistrar shortLived;
        ASSERT_TRUE(take(shortLived, ctrlAltK, 1));
        EXPECT_FALSE(other.grab(keyK, controlAlt | XCB_MOD_MASK_LOCK));
    }
    for (const std::uint16_t extra : lockStates)
        EXPECT_TRUE(other.grab(keyK, controlAlt | extra)) << extra;
}

TEST_F(X11HotKeyRegistrarTest, AHeldCombinationFiresOnce)
{
    ASSERT_TRUE(take(registrar, ctrlAltD, 5));
    const auto deliver = [&](std::uint8_t type, xcb_timestamp_t time) {
        xcb_key_press_event_t event{};
        event.response_type = type;
        event.detail = keyD;
        event.time = time;
        event.root = event.event = x11::rootWindow();
        event.state = controlAlt | XCB_MOD_MASK_2;
        return registrar.nativeEventFilter("xcb_generic_event_t", &event, nullptr);
    };
    EXPECT_TRUE(deliver(XCB_KEY_PRESS, 100));
    EXPECT_TRUE(deliver(XCB_KEY_PRESS, 150));   // repeat without a release in between
    EXPECT_TRUE(deliver(XCB_KEY_RELEASE, 200)); // repeat as a release and a press of one time
    EXPECT_TRUE(deliver(XCB_KEY_PRESS, 200));
    EXPECT_TRUE(deliver(XCB_KEY_RELEASE, 300)); // the real release
    serveFor(100);
    EXPECT_EQ(pressed, std::vector<std::uint32_t>{5});
    EXPECT_TRUE(deliver(XCB_KEY_PRESS, 400)); // pressed again
    serveFor(100);
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{5, 5}));
    EXPECT_TRUE(deliver(XCB_KEY_RELEASE, 450));

    // A key nobody grabbed passes through.
    xcb_key_press_event_t other{};
    other.response_type = XCB_KEY_PRESS;
    other.detail = keyJ;
    other.state = controlAlt;
    EXPECT_FALSE(registrar.nativeEventFilter("xcb_generic_event_t", &other, nullptr));
}
