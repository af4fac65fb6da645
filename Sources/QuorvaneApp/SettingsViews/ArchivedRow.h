#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QWidget>

namespace quorvane {

// An archived desktop: its colour, name and archive date, "Reveal" when its folder is known,
// "Restore", and the trash button, which asks first.
class ArchivedRow : public QWidget {
    Q_OBJECT

public:
    ArchivedRow(const SettingsContext &context, const Workspace &workspace, QWidget *parent = nullptr);

    // The desktop as the row shows it.
    const Workspace &workspace() const { return m_workspace; }

private:
    Workspace m_workspace;
};

} // namespace quorvane
