#pragma once

#include "HotKeySpec.h"

#include <QWidget>

#include <functional>
#include <optional>

class QKeyEvent;

namespace quorvane {

// The control a shortcut is recorded in: a click starts recording, a key with at least one of
// shift, control, option (Alt) and command (Meta) becomes the shortcut, Delete alone clears it,
// Escape gives up; losing the focus ends recording too.
class KeyRecorderView : public QWidget {
    Q_OBJECT

public:
    using OnChange = std::function<void(std::optional<HotKeySpec>)>;

    explicit KeyRecorderView(QWidget *parent = nullptr);
    ~KeyRecorderView() override;

    // Told true when a recorder of the process starts listening and false when the last one
    // stops (or goes away listening): the application lets go of its global hot keys meanwhile,
    // so that a shortcut that is already one reaches the recorder. One observer for the process.
    static void setListeningObserver(std::function<void(bool listening)> observer);

    // The shortcut shown (none: the empty prompt); the owner pushes the stored one back after
    // every change it accepts or refuses.
    void setSpec(std::optional<HotKeySpec> spec);
    std::optional<HotKeySpec> spec() const { return m_spec; }
    // Told of every recorded or cleared shortcut; replaces the previous callback.
    void setOnChange(OnChange onChange) { m_onChange = std::move(onChange); }
    bool isRecording() const { return m_recording; }
    // The text drawn: while recording "Press keys…", or the modifiers held so far ("Ctrl+Alt+…");
    // "Record…" without a shortcut, else the shortcut's text.
    QString text() const;
    // What sounds when a key without modifiers is refused; QApplication::beep by default.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // 110 × 22, wider when the text needs it.
    static constexpr int narrowestWidth = 110;
    static constexpr int fieldHeight = 22;
    static constexpr int textMargin = 8;
    QSize sizeHint() const override { return size(); }

    // The virtual key code of a pressed key: from the X11 keycode through the key-code table,
    // else (no native code, as off screen) from Qt's key; none for a key outside both.
    static std::optional<std::uint32_t> virtualKeyCode(const QKeyEvent &event);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Fits the width to the text and redraws.
    void showText();
    void stopRecording();
    void setRecording(bool recording);

    std::optional<HotKeySpec> m_spec;
    OnChange m_onChange;
    bool m_recording = false;
    // The modifiers held while recording (HotKeySpec bits).
    std::uint32_t m_held = 0;
    std::function<void()> m_beep;
};

} // namespace quorvane
