#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QWidget>

#include <utility>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace quorvane {

class ArchivedRow;
class GradualRows;
class HintBar;
class ReorderableDesksList;

// The Desktops section: the live desktops (reorderable, renamable, expandable), the folders
// of the desktops folder that are not desktops yet, and the archived desktops.
class WorkspacesTab : public QWidget {
    Q_OBJECT

public:
    explicit WorkspacesTab(const SettingsContext &context, QWidget *parent = nullptr);

    ReorderableDesksList *desksList() const { return m_list; }
    // Builds the rows a long page leaves for after its first paint.
    GradualRows *gradual() const { return m_gradual; }

private:
    void refresh();
    void rebuildFound();
    void refreshArchived(const std::vector<Workspace> &archived, std::size_t limit);

    const SettingsContext &m_context;
    ReorderableDesksList *m_list;
    HintBar *m_hint = nullptr;
    QVBoxLayout *m_hintSlot;
    QWidget *m_found;
    QWidget *m_archived;
    QLabel *m_noArchived;
    QWidget *m_archivedRows;
    std::vector<std::pair<QString, ArchivedRow *>> m_archivedShown;
    GradualRows *m_gradual;
};

} // namespace quorvane
