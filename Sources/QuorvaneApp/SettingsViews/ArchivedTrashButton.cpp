#include "SettingsViews/ArchivedTrashButton.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/DeskTexts.h"
#include "Windows/Dialogs.h"

namespace quorvane {

ArchivedTrashButton::ArchivedTrashButton(const SettingsContext &context, const QString &name, QWidget *parent)
    : TrashCircleLabel(parent)
    , m_model(context.model)
    , m_dialogs(context.services.dialogs)
    , m_name(name)
{
    setAccessibleName(tr("Move %1 to the Trash").arg(name));
    setToolTip(tr("Move this desktop and its files to the Trash"));
    connect(this, &TrashCircleLabel::clicked, this, &ArchivedTrashButton::confirm);
}

void ArchivedTrashButton::confirm()
{
    if (!m_dialogs)
        return;
    // The folder is counted as it is now, not as it was when the row was built.
    const Workspace *workspace = m_model.config().workspace(m_name);
    const int count = workspace && workspace->archiveLocation ? visibleItemCount(*workspace->archiveLocation) : 0;
    Question question;
    question.title = trashConfirmationTitle(m_name);
    question.message = question.title;
    question.informativeText = trashConfirmationMessage(count);
    question.buttons = {{tr("Move to Trash"), ButtonRole::destructive},
                        {tr("Cancel"), ButtonRole::cancel}};
    SettingsModel *model = &m_model;
    const QString name = m_name;
    m_dialogs->ask(window(), question, [model, name](int index) {
        if (index == 0)
            model->deleteArchived(name);
    });
}

} // namespace quorvane
