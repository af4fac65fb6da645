#include "Triggers/KeyRecorder.h"

#include "Keys/KeyCodeTable.h"
#include "Shared/Style.h"
#include "Triggers/KeyNames.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

constexpr std::uint32_t escapeKey = 53;
constexpr std::uint32_t deleteKey = 51;

// Qt's keys by their US ANSI position; the shifted marks sit on the key that types them.
std::optional<std::uint32_t> fromQtKey(int key, bool keypad)
{
    struct Entry {
        int key;
        std::uint32_t code;
    };
    static const Entry keypadKeys[] = {
        {Qt::Key_0, 82},
        {Qt::Key_1, 83},
        {Qt::Key_2, 84},
        {Qt::Key_3, 85},
        {Qt::Key_4, 86},
        {Qt::Key_5, 87},
        {Qt::Key_6, 88},
        {Qt::Key_7, 89},
        {Qt::Key_8, 91},
        {Qt::Key_9, 92},
        {Qt::Key_Period, 65},
        {Qt::Key_Asterisk, 67},
        {Qt::Key_Plus, 69},
        {Qt::Key_Slash, 75},
        {Qt::Key_Enter, 76},
        {Qt::Key_Minus, 78},
        {Qt::Key_Equal, 81},
    };
    static const Entry keys[] = {
        {Qt::Key_A, 0},
        {Qt::Key_S, 1},
        {Qt::Key_D, 2},
        {Qt::Key_F, 3},
        {Qt::Key_H, 4},
        {Qt::Key_G, 5},
        {Qt::Key_Z, 6},
        {Qt::Key_X, 7},
        {Qt::Key_C, 8},
        {Qt::Key_V, 9},
        {Qt::Key_B, 11},
        {Qt::Key_Q, 12},
        {Qt::Key_W, 13},
        {Qt::Key_E, 14},
        {Qt::Key_R, 15},
        {Qt::Key_Y, 16},
        {Qt::Key_T, 17},
        {Qt::Key_O, 31},
        {Qt::Key_U, 32},
        {Qt::Key_I, 34},
        {Qt::Key_P, 35},
        {Qt::Key_L, 37},
        {Qt::Key_J, 38},
        {Qt::Key_K, 40},
        {Qt::Key_N, 45},
        {Qt::Key_M, 46},
        {Qt::Key_1, 18},
        {Qt::Key_Exclam, 18},
        {Qt::Key_2, 19},
        {Qt::Key_At, 19},
        {Qt::Key_3, 20},
        {Qt::Key_NumberSign, 20},
        {Qt::Key_4, 21},
        {Qt::Key_Dollar, 21},
        {Qt::Key_5, 23},
        {Qt::Key_Percent, 23},
        {Qt::Key_6, 22},
        {Qt::Key_AsciiCircum, 22},
        {Qt::Key_7, 26},
        {Qt::Key_Ampersand, 26},
        {Qt::Key_8, 28},
        {Qt::Key_Asterisk, 28},
        {Qt::Key_9, 25},
        {Qt::Key_ParenLeft, 25},
        {Qt::Key_0, 29},
        {Qt::Key_ParenRight, 29},
        {Qt::Key_Equal, 24},
        {Qt::Key_Plus, 24},
        {Qt::Key_Minus, 27},
        {Qt::Key_Underscore, 27},
        {Qt::Key_BracketRight, 30},
        {Qt::Key_BraceRight, 30},
        {Qt::Key_BracketLeft, 33},
        {Qt::Key_BraceLeft, 33},
        {Qt::Key_Apostrophe, 39},
        {Qt::Key_QuoteDbl, 39},
        {Qt::Key_Semicolon, 41},
        {Qt::Key_Colon, 41},
        {Qt::Key_Backslash, 42},
        {Qt::Key_Bar, 42},
        {Qt::Key_Comma, 43},
        {Qt::Key_Less, 43},
        {Qt::Key_Slash, 44},
        {Qt::Key_Question, 44},
        {Qt::Key_Period, 47},
        {Qt::Key_Greater, 47},
        {Qt::Key_QuoteLeft, 50},
        {Qt::Key_AsciiTilde, 50},
        {Qt::Key_section, 10},
        {Qt::Key_Return, 36},
        {Qt::Key_Enter, 36},
        {Qt::Key_Tab, 48},
        {Qt::Key_Backtab, 48},
        {Qt::Key_Space, 49},
        {Qt::Key_Backspace, 51},
        {Qt::Key_Escape, 53},
        {Qt::Key_Delete, 117},
        {Qt::Key_Insert, 114},
        {Qt::Key_Help, 114},
        {Qt::Key_Home, 115},
        {Qt::Key_End, 119},
        {Qt::Key_PageUp, 116},
        {Qt::Key_PageDown, 121},
        {Qt::Key_Left, 123},
        {Qt::Key_Right, 124},
        {Qt::Key_Down, 125},
        {Qt::Key_Up, 126},
        {Qt::Key_F1, 122},
        {Qt::Key_F2, 120},
        {Qt::Key_F3, 99},
        {Qt::Key_F4, 118},
        {Qt::Key_F5, 96},
        {Qt::Key_F6, 97},
        {Qt::Key_F7, 98},
        {Qt::Key_F8, 100},
        {Qt::Key_F9, 101},
        {Qt::Key_F10, 109},
        {Qt::Key_F11, 103},
        {Qt::Key_F12, 111},
        {Qt::Key_F13, 105},
        {Qt::Key_F14, 107},
        {Qt::Key_F15, 113},
    };
    if (keypad) {
        for (const Entry &entry : keypadKeys) {
            if (entry.key == key)
                return entry.code;
        }
    }
    for (const Entry &entry : keys) {
        if (entry.key == key)
            return entry.code;
    }
    return std::nullopt;
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

std::uint32_t modifierMask(Qt::KeyboardModifiers modifiers)
{
    std::uint32_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= HotKeySpec::shift;
    if (modifiers & Qt::ControlModifier)
        mask |= HotKeySpec::control;
    if (modifiers & Qt::AltModifier)
        mask |= HotKeySpec::option;
    if (modifiers & Qt::MetaModifier)
        mask |= HotKeySpec::command;
    return mask;
}

// The modifier bit a modifier key itself stands for; 0 for the lock keys and the rest.
std::uint32_t modifierOfKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
        return HotKeySpec::shift;
    case Qt::Key_Control:
        return HotKeySpec::control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return HotKeySpec::option;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return HotKeySpec::command;
    default:
        return 0;
    }
}

// The recorders listening now, and who is told when that starts and ends.
int listeningRecorders = 0;
std::function<void(bool)> &listeningObserver()
{
    static std::function<void(bool)> observer;
    return observer;
}

// The face the text is drawn in.
QFont textFont(QFont font)
{
    font.setPointSize(12);
    font.setWeight(QFont::Medium);
    return font;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

} // namespace

KeyRecorderView::KeyRecorderView(QWidget *parent)
    : QWidget(parent)
    , m_beep([] { QApplication::beep(); })
{
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(narrowestWidth, fieldHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

KeyRecorderView::~KeyRecorderView()
{
    setRecording(false);
}

void KeyRecorderView::setListeningObserver(std::function<void(bool listening)> observer)
{
    listeningObserver() = std::move(observer);
}

void KeyRecorderView::setRecording(bool recording)
{
    if (recording == m_recording)
        return;
    m_recording = recording;
    m_held = 0;
    listeningRecorders += recording ? 1 : -1;
    // Copied: the observer may replace itself.
    const std::function<void(bool)> observer = listeningObserver();
    if (observer && listeningRecorders == (recording ? 1 : 0))
        observer(recording);
}

void KeyRecorderView::showText()
{
    // Shortcuts spelt out ("Ctrl+Alt+Shift+Super+Page Down") can outgrow the usual width:
    // the field widens to show its whole text.
    const int needed = QFontMetrics(textFont(font())).horizontalAdvance(text()) + 2 * textMargin;
    setFixedSize(std::max(narrowestWidth, needed), fieldHeight);
    update();
}

void KeyRecorderView::setSpec(std::optional<HotKeySpec> spec)
{
    m_spec = spec;
    showText();
}

QString KeyRecorderView::text() const
{
    if (m_recording)
        return m_held ? modifierGlyphs(m_held) + QStringLiteral("…") : tr("Press keys…");
    if (!m_spec)
        return tr("Record…");
    return shortcutText(*m_spec);
}

std::optional<std::uint32_t> KeyRecorderView::virtualKeyCode(const QKeyEvent &event)
{
    if (event.nativeScanCode() != 0)
        return keycodes::virtualKeyCode(event.nativeScanCode());
    return fromQtKey(event.key(), event.modifiers() & Qt::KeypadModifier);
}

bool KeyRecorderView::event(QEvent *event)
{
    // While recording, every key is the recorder's: the window's shortcuts (Escape closing a
    // sheet, Return pressing its default button, the main menu's keys) must not take it first.
    if (m_recording && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void KeyRecorderView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    setRecording(true);
    showText();
    event->accept();
}

void KeyRecorderView::keyPressEvent(QKeyEvent *event)
{
    if (!m_recording) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // Shift, control and the others arrive as keys of their own: they only hold for the next,
    // and show while held.
    if (isModifierKey(event->key())) {
        // Whether a modifier's own event already counts it differs between platforms.
        m_held = modifierMask(event->modifiers()) | modifierOfKey(event->key());
        showText();
        return;
    }
    const std::optional<std::uint32_t> code = virtualKeyCode(*event);
    if (code == escapeKey) {
        stopRecording();
        return;
    }
    const std::uint32_t mask = modifierMask(event->modifiers());
    if (code == deleteKey && mask == 0) {
        m_spec.reset();
        showText();
        if (m_onChange)
            m_onChange(std::nullopt);
        stopRecording();
        return;
    }
    // A key without modifiers, or one that no stored shortcut can name, is refused.
    if (mask == 0 || !code) {
        if (m_beep)
            m_beep();
        return;
    }
    m_spec = HotKeySpec{*code, mask};
    showText();
    if (m_onChange)
        m_onChange(m_spec);
    stopRecording();
}

void KeyRecorderView::keyReleaseEvent(QKeyEvent *event)
{
    if (!m_recording || !isModifierKey(event->key())) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    m_held = modifierMask(event->modifiers()) & ~modifierOfKey(event->key());
    showText();
}

void KeyRecorderView::stopRecording()
{
    setRecording(false);
    showText();
    clearFocus();
}

void KeyRecorderView::focusOutEvent(QFocusEvent *event)
{
    setRecording(false);
    showText();
    QWidget::focusOutEvent(event);
}

void KeyRecorderView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colors = palette();
    const QRectF shape = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(shape, 5, 5);
    const QColor accent = colors.color(QPalette::Highlight);
    painter.fillPath(path, m_recording ? withAlpha(accent, 0.15) : colors.color(QPalette::Base));
    // Its edge stands 3:1 against the window, and so does the accent's while recording.
    const QColor window = colors.color(QPalette::Window);
    const QColor ink = colors.color(QPalette::WindowText);
    painter.setPen(m_recording ? QPen(Style::readableOn(accent, ink, {window}, 3.0), 2)
                               : QPen(Style::edgeColor(colors), 1));
    painter.drawPath(path);

    painter.setFont(textFont(font()));
    // The prompts in the secondary text colour, which reads at 4.5:1 on the field.
    if (m_recording || !m_spec)
        painter.setPen(colors.color(QPalette::PlaceholderText));
    else
        painter.setPen(colors.color(QPalette::Text));
    painter.drawText(shape, Qt::AlignCenter, text());
}

} // namespace quorvane
