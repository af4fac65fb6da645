#pragma once

#include "SettingsViews/SettingsContext.h"

#include <QWidget>

namespace quorvane {

// A folder of the desktops folder that is not a desktop: its name and item count, "Reveal"
// and "Add".
class UnlistedFolderRow : public QWidget {
    Q_OBJECT

public:
    UnlistedFolderRow(const SettingsContext &context, const QString &name, QWidget *parent = nullptr);
};

} // namespace quorvane
