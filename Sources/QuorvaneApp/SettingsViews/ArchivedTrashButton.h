#pragma once

#include "SettingsViews/SettingsContext.h"
#include "SettingsViews/TrashCircleLabel.h"

namespace quorvane {

// The trash button of an archived desktop: asks first, then moves the archived folder and its
// files to the Trash and forgets the desktop.
class ArchivedTrashButton : public TrashCircleLabel {
    Q_OBJECT

public:
    ArchivedTrashButton(const SettingsContext &context, const QString &name, QWidget *parent = nullptr);

private:
    void confirm();

    SettingsModel &m_model;
    Dialogs *m_dialogs;
    QString m_name;
};

} // namespace quorvane
