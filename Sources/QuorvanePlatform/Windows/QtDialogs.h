#pragma once

#include "Windows/Dialogs.h"

#include <functional>
#include <optional>

namespace quorvane {

// Questions as message boxes, forms as dialogs, the choosers as Qt's file and colour dialogs;
// all opened with open(), never exec().
class QtDialogs final : public Dialogs {
public:
    // portalChooser, asked when the first chooser opens: whether a file or a folder is chosen in
    // the desktop portal's chooser, asked for directly (with its title, its start folder and
    // nothing to open read-only); Qt's dialog where no portal answers. Without it, Qt's dialogs.
    explicit QtDialogs(std::function<bool()> portalChooser = {})
        : m_portalChooser(std::move(portalChooser))
    {
    }

    void ask(QWidget *parent, const Question &question, std::function<void(int)> answer) override;
    void askModal(QWidget *parent, const Question &question, std::function<void(int)> answer) override;
    void askText(QWidget *parent, const Question &question, std::function<void(int, const QString &)> answer) override;
    void presentForm(QWidget *parent, QWidget *form, std::function<void()> closed) override;
    void dismissForm(QWidget *form) override;
    void chooseFolder(QWidget *parent, const ChooserOptions &options,
                      std::function<void(std::optional<QString>)> chosen) override;
    void chooseFile(QWidget *parent, const ChooserOptions &options,
                    std::function<void(std::optional<QString>)> chosen) override;
    void chooseItem(QWidget *parent, const ChooserOptions &options,
                    std::function<void(std::optional<QString>)> chosen) override;
    void chooseColor(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> picked) override;
    void pickColor(QWidget *parent, const QColor &initial, std::function<void(std::optional<QColor>)> chosen) override;
    void showColorPanel(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> changed,
                        std::function<void()> activated) override;

private:
    bool portalChooser();

    std::function<bool()> m_portalChooser;
    std::optional<bool> m_portalChosen;
};

} // namespace quorvane
