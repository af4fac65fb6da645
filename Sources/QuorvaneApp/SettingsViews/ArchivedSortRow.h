#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QWidget>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace quorvane {

class ArchivedTrashButton;

// An archived desktop on the Organize page: its name and archive date, the trash button once
// it is sorted, "Reveal" when its folder is known, and the "Sorted" checkbox.
class ArchivedSortRow : public QWidget {
    Q_OBJECT

public:
    ArchivedSortRow(const SettingsContext &context, const Workspace &workspace, QWidget *parent = nullptr);

    // Shows the desktop as stored now; writes nothing.
    void update(const Workspace &workspace);

    QCheckBox *sortedBox() const { return m_sorted; }
    // Shown once the desktop is sorted.
    ArchivedTrashButton *trashButton() const { return m_trash; }
    // Shown while its archived folder is known.
    QPushButton *revealButton() const { return m_reveal; }
    QLabel *dateLabel() const { return m_date; }

private:
    const SettingsContext &m_context;
    Workspace m_workspace;
    QLabel *m_date;
    ArchivedTrashButton *m_trash;
    QPushButton *m_reveal;
    QCheckBox *m_sorted;
};

} // namespace quorvane
