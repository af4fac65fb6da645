#include "Windows/MessageBoxAlertPresenter.h"

#include "Windows/AlertLook.h"
#include "Windows/LiteralText.h"

#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace quorvane {

int MessageBoxAlertPresenter::present(const Alert &alert)
{
    QMessageBox box;
    box.setText(alert.message);
    box.setInformativeText(alert.informativeText);
    // Names in an alert are the user's or a file's: shown as written, never as markup.
    showPlainTexts(box);
    lookLikeAlert(box, alert.style);

    const QStringList titles = alert.buttons.isEmpty() ? QStringList{alertOkTitle()} : alert.buttons;
    std::vector<QPushButton *> buttons;
    for (const QString &title : titles)
        buttons.push_back(box.addButton(literalTitle(title), QMessageBox::ActionRole));
    box.setDefaultButton(buttons.front());
    // Escape answers "Cancel" when there is one; a single button is its own escape. Otherwise
    // the box can only be left through one of its buttons.
    const qsizetype cancel = titles.indexOf(alertCancelTitle());
    if (cancel >= 0)
        box.setEscapeButton(buttons[std::size_t(cancel)]);
    else if (buttons.size() == 1)
        box.setEscapeButton(buttons.front());

    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return int(i);
    }
    // Left with its box still up: the application is ending (its event loops were left), and
    // there is no answer, never the default one.
    if (box.isVisible())
        return noAnswer;
    return cancel >= 0 ? int(cancel) : 0;
}

} // namespace quorvane
