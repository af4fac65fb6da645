#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace quorvane {

class ColorSwatch;
class SegmentedControl;
class TrashCircleLabel;

// The expanded part of a live desktop's row: last visit, item count, identity colour, the
// permanent or temporary choice, "Archive" and the move to the Trash.
class DeskMetadataRow : public QWidget {
    Q_OBJECT

public:
    DeskMetadataRow(const SettingsContext &context, const Workspace &workspace, bool isActive, QWidget *parent = nullptr);

    void update(const Workspace &workspace, bool isActive);
    const Workspace &workspace() const { return m_workspace; }

    QLabel *lastVisitLabel() const { return m_lastVisit; }
    QLabel *itemsLabel() const { return m_items; }
    ColorSwatch *colorSwatch() const { return m_color; }
    SegmentedControl *typeToggle() const { return m_type; }
    TrashCircleLabel *deleteButton() const { return m_delete; }

protected:
    // The last visit is fitted again whenever its label's width or font changes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseType(WorkspaceType type);
    void chooseColor();
    void confirmDelete();
    bool isScreenshotCollection() const;
    void fitLastVisit();

    const SettingsContext &m_context;
    Workspace m_workspace;
    bool m_isActive;
    QLabel *m_lastVisit;
    QLabel *m_items;
    ColorSwatch *m_color;
    SegmentedControl *m_type;
    QPushButton *m_archive;
    TrashCircleLabel *m_delete;
};

} // namespace quorvane
