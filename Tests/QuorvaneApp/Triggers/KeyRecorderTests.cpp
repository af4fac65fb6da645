#include "Triggers/KeyRecorder.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct KeyRecorderTest : ::testing::Test {
    QWidget window;
    KeyRecorderView *view = new KeyRecorderView(&window);
    std::vector<std::optional<HotKeySpec>> reported;
    int beeps = 0;

    void SetUp() override
    {
        view->setOnChange([this](std::optional<HotKeySpec> spec) { reported.push_back(spec); });
        view->setBeep([this] { ++beeps; });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void startRecording() { QTest::mouseClick(view, Qt::LeftButton); }
};

} // namespace

TEST_F(KeyRecorderTest, IdleShowsThePromptOrTheShortcutAndIgnoresKeys)
{
    EXPECT_EQ(view->size(), QSize(110, 22));
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(view->text(), "Record…");
    view->setSpec(HotKeySpec{2, HotKeySpec::control | HotKeySpec::option});
    EXPECT_EQ(view->text(), "Ctrl+Alt+D");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(view->isRecording());

    startRecording();
    EXPECT_TRUE(view->isRecording());
    EXPECT_TRUE(view->hasFocus());
    EXPECT_EQ(view->text(), "Press keys…");
    startRecording(); // a second click keeps recording
    EXPECT_TRUE(view->isRecording());
}

TEST_F(KeyRecorderTest, ALongShortcutWidensTheFieldToShowAllOfIt)
{
    view->setSpec(HotKeySpec{121, 0x1E0000});
    EXPECT_EQ(view->text(), "Ctrl+Alt+Shift+Super+Page Down");
    QFont font = view->font();
    font.setPointSize(12);
    font.setWeight(QFont::Medium);
    EXPECT_GT(view->width(), QFontMetrics(font).horizontalAdvance(view->text()));
    EXPECT_EQ(view->height(), 22);
    view->setSpec(std::nullopt);
    EXPECT_EQ(view->size(), QSize(110, 22));
}

TEST_F(KeyRecorderTest, AKeyWithModifiersBecomesTheShortcut)
{
    startRecording();
    // The modifiers held show as they are pressed and let go, the key's own event counting it or
    // not (as X11 reports the state before the event).
    const auto send = [this](QEvent::Type type, int key, Qt::KeyboardModifiers held) {
        QKeyEvent event(type, key, held);
        QCoreApplication::sendEvent(view, &event);
    };
    send(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(view->text(), "Ctrl+…");
    send(QEvent::KeyPress, Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(view->text(), "Ctrl+Alt+…");
    send(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(view->text(), "Alt+…");
    send(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(view->text(), "Press keys…");
    QTest::keyClick(view, Qt::Key_Shift, Qt::ShiftModifier); // the modifier's own press waits
    EXPECT_TRUE(view->isRecording());
    QTest::keyClick(view, Qt::Key_A, Qt::ShiftModifier);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], (HotKeySpec{0, HotKeySpec::shift}));
    EXPECT_FALSE(view->isRecording());
    EXPECT_FALSE(view->hasFocus());
    EXPECT_EQ(view->text(), "Shift+A");

    startRecording();
    QTest::keyClick(view, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    EXPECT_EQ(reported.back(), (HotKeySpec{37, 0x1C0000}));
    startRecording();
    QTest::keyClick(view, Qt::Key_Backspace, Qt::MetaModifier); // command-delete is a shortcut
    EXPECT_EQ(reported.back(), (HotKeySpec{51, HotKeySpec::command}));
    startRecording();
    QTest::keyClick(view, Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(reported.back(), (HotKeySpec{87, HotKeySpec::control}));
    EXPECT_EQ(beeps, 0);
}

TEST_F(KeyRecorderTest, EscapeGivesUpDeleteClearsAndPlainKeysBeep)
{
    view->setSpec(HotKeySpec{2, HotKeySpec::command});
    startRecording();
    QTest::keyClick(view, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_FALSE(view->isRecording());
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(view->spec(), (HotKeySpec{2, HotKeySpec::command}));

    startRecording();
    QTest::keyClick(view, Qt::Key_A);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(view->isRecording());
    // Caps lock is no modifier: the capital it types still beeps.
    QKeyEvent capital(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("A"));
    QCoreApplication::sendEvent(view, &capital);
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(reported.empty());

    QTest::keyClick(view, Qt::Key_Backspace);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], std::nullopt);
    EXPECT_EQ(view->spec(), std::nullopt);
    EXPECT_FALSE(view->isRecording());
    EXPECT_EQ(view->text(), "Record…");
}

TEST_F(KeyRecorderTest, WhileRecordingTheWindowsShortcutsDoNotTakeTheKeys)
{
    int escapes = 0, quits = 0;
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, [&] { ++escapes; });
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &window);
    QObject::connect(quit, &QShortcut::activated, [&] { ++quits; });

    startRecording();
    QTest::keyClick(view, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(quits, 0);
    startRecording();
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->isRecording());
    EXPECT_EQ(escapes, 0);

    // Not recording: the window's shortcuts work as usual.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(escapes, 1);
}

TEST_F(KeyRecorderTest, LosingTheFocusEndsRecording)
{
    auto *other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    startRecording();
    other->setFocus();
    EXPECT_FALSE(view->isRecording());
    EXPECT_TRUE(reported.empty());
}

TEST(KeyRecorderKeys, TheX11KeycodeWinsOverQtsKey)
{
    // Keycode 24 lies where a US board has Q, whatever the layout makes of it.
    QKeyEvent azertyA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, 24, 0x61, 0);
    EXPECT_EQ(KeyRecorderView::virtualKeyCode(azertyA), 12u);
    QKeyEvent offscreenDelete(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(KeyRecorderView::virtualKeyCode(offscreenDelete), 117u);
    QKeyEvent media(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::NoModifier, 123 + 200, 0, 0);
    EXPECT_FALSE(KeyRecorderView::virtualKeyCode(media));
}
