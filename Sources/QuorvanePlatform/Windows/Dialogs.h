#pragma once

#include "Windows/AlertPresenter.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace quorvane {

// What a button of a question does besides answering: the default action (Return), the
// cancel action (Escape, or closing the question), or a destructive one.
enum class ButtonRole {
    normal,
    cancel,
    destructive
};

struct DialogButton {
    QString title;
    ButtonRole role = ButtonRole::normal;

    bool operator==(const DialogButton &) const = default;
};

// A one-line text field under a question's texts; it opens empty.
struct QuestionField {
    QString placeholder;

    bool operator==(const QuestionField &) const = default;
};

struct Question {
    QString message;
    QString informativeText;
    // Left to right in reading order; the first button that is neither cancel nor destructive
    // is the default one. A question without buttons gets one "OK".
    std::vector<DialogButton> buttons;
    AlertStyle style = AlertStyle::warning;
    // The question window's own title; empty: the application's name.
    QString title{};
    // Only askText shows it.
    std::optional<QuestionField> field{};

    bool operator==(const Question &) const = default;
};

// What a chooser offers: its title, the folder it opens in (the nearest existing folder above
// it when it does not exist; the home folder when none is given) and, for files, name filters
// such as "Images (*.png *.jpg)".
struct ChooserOptions {
    QString title;
    QString directory;
    QStringList nameFilters;
    // The accept button's text; empty: the dialog's own.
    QString acceptLabel;
    // Items the chooser does not list (absolute paths), where the chooser can leave them out.
    QStringList hiddenItems{};
    // A sentence saying what to choose, shown inside the chooser where it has room for one (the
    // title stays short: the window manager shows it in the title bar).
    QString message{};

    bool operator==(const ChooserOptions &) const = default;
};

// The questions the windows ask. None of them blocks: each returns at once and calls its
// answer later, exactly once. Given a parent window, a question is modal to that window only;
// with none, to the whole application.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // answer: the index of the chosen button in question.buttons (0 for the implicit "OK");
    // closing the question answers its cancel button, else its default one.
    virtual void ask(QWidget *parent, const Question &question, std::function<void(int)> answer) = 0;
    // The same question modal to the whole application, whatever window it stands over, and
    // with its first button the default whatever its role; closing it answers its cancel
    // button, else its last one. parent only places it.
    virtual void askModal(QWidget *parent, const Question &question, std::function<void(int)> answer) = 0;
    // The question with its text field, modal like ask; the answer carries the field's text
    // as typed, whichever button ends it.
    virtual void askText(QWidget *parent, const Question &question,
                         std::function<void(int, const QString &)> answer) = 0;

    // Shows form window-modal over parent until dismissForm or the user closes it; the form
    // belongs to the dialog from then on. closed runs once, either way.
    virtual void presentForm(QWidget *parent, QWidget *form, std::function<void()> closed) = 0;
    virtual void dismissForm(QWidget *form) = 0;

    // The chosen folder or file, or none when the user cancels. Both are the desktop's own
    // choosers (through its portal where one runs).
    virtual void chooseFolder(QWidget *parent, const ChooserOptions &options,
                              std::function<void(std::optional<QString>)> chosen) = 0;
    virtual void chooseFile(QWidget *parent, const ChooserOptions &options,
                            std::function<void(std::optional<QString>)> chosen) = 0;
    // One existing file or folder, whichever the user picks: the application's own chooser, as
    // neither the portal's nor the desktop's can take either; it leaves out the hidden items.
    virtual void chooseItem(QWidget *parent, const ChooserOptions &options,
                            std::function<void(std::optional<QString>)> chosen) = 0;
    // The colour panel: picked runs for every colour the user settles on while it is open.
    virtual void chooseColor(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> picked) = 0;
    // One colour picked window-modally: the chosen colour, or none when the user cancels.
    virtual void pickColor(QWidget *parent, const QColor &initial,
                           std::function<void(std::optional<QColor>)> chosen) = 0;
    // The colour panel beside the window, not modal: changed runs for each colour the user
    // adjusts it to, activated each time the panel becomes the active window.
    virtual void showColorPanel(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> changed,
                                std::function<void()> activated) = 0;
};

} // namespace quorvane
