#include "Calendar/NameField.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>

namespace quorvane {

namespace {

bool isSubmitKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
}

} // namespace

NameField::NameField(QWidget *parent)
    : QLineEdit(parent)
{
    // A framed field, text from the left, that says what it wants while empty.
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFrame(true);
    setPlaceholderText(tr("Name"));
    connect(this, &QLineEdit::textEdited, this, &NameField::userEdited);
}

QString NameField::displayText(const QString &name)
{
    return name.endsWith(u' ') ? name + QChar(marker) : name;
}

QString NameField::cleanText(const QString &shown)
{
    QString clean = shown;
    clean.remove(QChar(marker));
    return clean;
}

int NameField::cleanCaret(const QString &shown, int position)
{
    const int end = std::clamp(position, 0, int(shown.size()));
    int caret = 0;
    for (int i = 0; i < end; ++i)
        caret += shown[i] == QChar(marker) ? 0 : 1;
    return caret;
}

void NameField::setName(const QString &name)
{
    m_name = cleanText(name);
    const QString shown = displayText(m_name);
    if (text() != shown)
        setText(shown);
}

void NameField::userEdited(const QString &shown)
{
    const QString clean = cleanText(shown);
    m_name = clean;
    emit nameEdited(clean);
    const QString wanted = displayText(clean);
    if (shown == wanted || m_composing)
        return;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int caret = cleanCaret(shown, std::min(int(shown.size()), start));
    setText(wanted);
    setCursorPosition(std::min(int(clean.size()), caret));
}

bool NameField::event(QEvent *event)
{
    // Claim Return before any window shortcut sees it, so it reaches keyPressEvent.
    if (event->type() == QEvent::ShortcutOverride && isSubmitKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void NameField::keyPressEvent(QKeyEvent *event)
{
    if (isSubmitKey(event)) {
        event->accept();
        emit submitted();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NameField::inputMethodEvent(QInputMethodEvent *event)
{
    // Known before the edit it brings is reported, so a commit that ends the composition
    // may be rewritten and one that goes on composing is not.
    m_composing = !event->preeditString().isEmpty();
    QLineEdit::inputMethodEvent(event);
}

} // namespace quorvane
