#include "SettingsViews/TypedTimeEdit.h"

#include <QInputMethodEvent>
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

bool TypedTimeEdit::event(QEvent *event)
{
    if (event->type() != QEvent::InputMethod)
        return QTimeEdit::event(event);
    auto *input = static_cast<QInputMethodEvent *>(event);
    const QString typed = input->commitString();
    if (!input->preeditString().isEmpty() || typed.isEmpty())
        return QTimeEdit::event(event);
    for (const QChar character : typed) {
        const int key = character.isDigit() ? Qt::Key_0 + character.digitValue() : int(character.unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        keyPressEvent(&press);
    }
    input->accept();
    return true;
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
