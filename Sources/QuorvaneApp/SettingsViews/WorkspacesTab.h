#pragma once

#include "SettingsViews/SettingsContext.h"

#include <QWidget>

class QVBoxLayout;

namespace quorvane {

class HintBar;
class ReorderableDesksList;

// The Desktops section: the live desktops (reorderable, renamable, expandable), the folders
// of the desktops folder that are not desktops yet, and the archived desktops.
class WorkspacesTab : public QWidget {
    Q_OBJECT

public:
    explicit WorkspacesTab(const SettingsContext &context, QWidget *parent = nullptr);

    ReorderableDesksList *desksList() const { return m_list; }

private:
    void refresh();
    void rebuildFound();
    void rebuildArchived();

    const SettingsContext &m_context;
    ReorderableDesksList *m_list;
    HintBar *m_hint = nullptr;
    QVBoxLayout *m_hintSlot;
    QWidget *m_found;
    QWidget *m_archived;
};

} // namespace quorvane
