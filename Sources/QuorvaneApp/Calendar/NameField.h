#pragma once

#include <QLineEdit>

namespace quorvane {

// The single-line, framed, left-aligned field of the new-desktop form's "Name" row, with the
// placeholder "Name". After a trailing blank it shows a ZERO WIDTH NON-JOINER (U+200C), so the
// blank stays visible wherever the text is aligned; the name it reports never holds that character.
// Only the user's edits rewrite what it shows, and never while an input method composes.
// Return is the field's own: it submits, and no default button of the window also fires.
class NameField : public QLineEdit {
    Q_OBJECT

public:
    static constexpr char16_t marker = u'\u200C';

    explicit NameField(QWidget *parent = nullptr);

    // What the field shows for a name: the name, plus the marker when it ends in a blank.
    static QString displayText(const QString &name);
    // A shown text without any marker.
    static QString cleanText(const QString &shown);
    // Where the caret goes in the clean text for a caret at position in the shown text: the
    // number of characters other than the marker before it.
    static int cleanCaret(const QString &shown, int position);

    // The name as typed, untrimmed and without the marker.
    QString name() const { return m_name; }
    // Shows name (with the marker where it needs one); a field already showing it is left
    // alone, so its caret does not jump.
    void setName(const QString &name);

signals:
    void nameEdited(const QString &name);
    void submitted();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    void userEdited(const QString &shown);

    QString m_name;
    bool m_composing = false;
};

} // namespace quorvane
