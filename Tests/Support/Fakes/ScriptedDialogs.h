#pragma once

#include "ForeignWords.h"
#include "Windows/Dialogs.h"

#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quorvane::test {

// Records every question, form and chooser, and answers them only when the test says so, as
// a user would some time after they appeared. Forms are kept alive (hidden) until dismissed.
// A question that names another platform's facility fails the test that asked it.
class ScriptedDialogs final : public Dialogs {
public:
    struct Asked {
        QPointer<QWidget> parent;
        Question question;
        std::function<void(int)> answer;
        bool answered = false;
        // Asked through askModal: modal to the whole application, the first button the default.
        bool modal = false;
        // Asked through askText: told the button and the field's text.
        std::function<void(int, const QString &)> answerText{};
    };
    struct Form {
        QPointer<QWidget> parent;
        QPointer<QWidget> form;
        std::function<void()> closed;
        bool open = true;
    };
    struct Chooser {
        enum Kind {
            folder,
            file,
            item
        } kind;
        QPointer<QWidget> parent;
        ChooserOptions options;
        std::function<void(std::optional<QString>)> chosen;
        bool answered = false;
    };
    struct ColorPanel {
        QPointer<QWidget> parent;
        QColor initial;
        std::function<void(const QColor &)> picked;
    };

    std::vector<Asked> asked;
    std::vector<Form> forms;
    std::vector<Chooser> choosers;
    std::vector<ColorPanel> colorPanels;
    struct ColorPick {
        QPointer<QWidget> parent;
        QColor initial;
        std::function<void(std::optional<QColor>)> chosen;
        bool answered = false;
    };
    std::vector<ColorPick> colorPicks;
    struct LiveColorPanel {
        QPointer<QWidget> parent;
        QColor initial;
        std::function<void(const QColor &)> changed;
        std::function<void()> activated;
    };
    std::vector<LiveColorPanel> liveColorPanels;

    ~ScriptedDialogs() override
    {
        for (Form &f : forms)
            delete f.form.data();
    }

    static void checkWords(const Question &question)
    {
        QStringList texts{question.message, question.informativeText, question.title};
        for (const DialogButton &button : question.buttons)
            texts << button.title;
        if (question.field)
            texts << question.field->placeholder;
        EXPECT_EQ(foreignWord(texts), QString());
    }
    void ask(QWidget *parent, const Question &question, std::function<void(int)> answer) override
    {
        checkWords(question);
        asked.push_back({parent, question, std::move(answer)});
    }
    void askModal(QWidget *parent, const Question &question, std::function<void(int)> answer) override
    {
        checkWords(question);
        asked.push_back({parent, question, std::move(answer), false, true});
    }
    void askText(QWidget *parent, const Question &question, std::function<void(int, const QString &)> answer) override
    {
        checkWords(question);
        asked.push_back({parent, question, {}, false, false, std::move(answer)});
    }
    void presentForm(QWidget *parent, QWidget *form, std::function<void()> closed) override
    {
        form->setParent(nullptr);
        forms.push_back({parent, form, std::move(closed)});
    }
    void dismissForm(QWidget *form) override
    {
        for (Form &f : forms) {
            if (f.open && f.form == form)
                closeForm(f);
        }
    }
    void chooseFolder(QWidget *parent, const ChooserOptions &options,
                      std::function<void(std::optional<QString>)> chosen) override
    {
        choosers.push_back({Chooser::folder, parent, options, std::move(chosen)});
    }
    void chooseFile(QWidget *parent, const ChooserOptions &options,
                    std::function<void(std::optional<QString>)> chosen) override
    {
        choosers.push_back({Chooser::file, parent, options, std::move(chosen)});
    }
    void chooseItem(QWidget *parent, const ChooserOptions &options,
                    std::function<void(std::optional<QString>)> chosen) override
    {
        choosers.push_back({Chooser::item, parent, options, std::move(chosen)});
    }
    void chooseColor(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> picked) override
    {
        colorPanels.push_back({parent, initial, std::move(picked)});
    }

    void pickColor(QWidget *parent, const QColor &initial, std::function<void(std::optional<QColor>)> chosen) override
    {
        colorPicks.push_back({parent, initial, std::move(chosen)});
    }
    void showColorPanel(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> changed,
                        std::function<void()> activated) override
    {
        liveColorPanels.push_back({parent, initial, std::move(changed), std::move(activated)});
    }
    // Answers the oldest open colour pick; none is the user's cancel.
    bool pick(std::optional<QColor> color)
    {
        for (ColorPick &p : colorPicks) {
            if (!p.answered) {
                p.answered = true;
                if (p.chosen)
                    p.chosen(std::move(color));
                return true;
            }
        }
        return false;
    }

    // Questions not answered yet.
    int pending() const
    {
        int n = 0;
        for (const Asked &a : asked)
            n += a.answered ? 0 : 1;
        return n;
    }
    // Answers the oldest open question with the button at index (and, for a question with a
    // field, the text typed there); false when none is open.
    bool answer(int index, const QString &typed = {})
    {
        for (Asked &a : asked) {
            if (!a.answered) {
                a.answered = true;
                // Copied first: an answer may ask the next question, which can move this one.
                const auto plain = a.answer;
                const auto text = a.answerText;
                if (plain)
                    plain(index);
                if (text)
                    text(index, typed);
                return true;
            }
        }
        return false;
    }
    // Answers the oldest open chooser; none is the user's cancel.
    bool choose(std::optional<QString> path)
    {
        for (Chooser &c : choosers) {
            if (!c.answered) {
                c.answered = true;
                if (c.chosen)
                    c.chosen(std::move(path));
                return true;
            }
        }
        return false;
    }
    // The user closes the form.
    void closeForm(Form &f)
    {
        f.open = false;
        if (f.closed)
            f.closed();
    }
};

} // namespace quorvane::test
