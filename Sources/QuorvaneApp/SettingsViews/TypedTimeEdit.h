#pragma once

#include <QTimeEdit>

namespace quorvane {

// A time field that takes what is typed into it wherever the caret was put: a run of digits
// replaces the section it starts in (a plain time edit refuses a digit typed into a section
// that is already full, as every section of a shown time is).
class TypedTimeEdit : public QTimeEdit {
    Q_OBJECT

public:
    explicit TypedTimeEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_typing = false; // the last key was a digit that went into the current section
};

} // namespace quorvane
