#include "SettingsViews/TypedTimeEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace quorvane {

TypedTimeEdit::TypedTimeEdit(QWidget *parent)
    : QTimeEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

void TypedTimeEdit::keyPressEvent(QKeyEvent *event)
{
    const bool digit = event->text().size() == 1 && event->text().at(0).isDigit();
    if (digit && !m_typing && !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    m_typing = digit;
    QTimeEdit::keyPressEvent(event);
}

void TypedTimeEdit::focusInEvent(QFocusEvent *event)
{
    m_typing = false;
    QTimeEdit::focusInEvent(event);
}

bool TypedTimeEdit::eventFilter(QObject *watched, QEvent *event)
{
    // A click puts the caret somewhere new: the next digit starts a section again.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress)
        m_typing = false;
    return QTimeEdit::eventFilter(watched, event);
}

} // namespace quorvane
