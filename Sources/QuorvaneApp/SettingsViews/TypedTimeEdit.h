#pragma once

#include <QTimeEdit>

namespace quorvane {

// A time field that takes what is typed into it wherever the caret was put: a run of digits
// replaces the section it starts in (a plain time edit refuses a digit typed into a section
// that is already full, as every section of a shown time is), whether it comes as keys or from
// the session's input method.
class TypedTimeEdit : public QTimeEdit {
    Q_OBJECT

public:
    explicit TypedTimeEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Digits an input method commits (ibus, fcitx and XIM sessions send typed text this way)
    // are typed like keys: the spin box itself hands such text to its field as it stands,
    // which refuses a digit in a full section.
    bool event(QEvent *event) override;

private:
    bool m_typing = false; // the last key was a digit that went into the current section
};

} // namespace quorvane
