#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace quorvane {

class DeskMetadataRow;

// One live desktop in the list: the drag handle, its name in a field that renames it when
// submitted or left, the free area that switches to it, and the chevron that shows its
// details underneath.
class WorkspaceRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 44;

    WorkspaceRow(const SettingsContext &context, const Workspace &workspace, bool isActive, QWidget *parent = nullptr);

    // A refresh: the field shows the stored name again only when that name changed.
    void update(const Workspace &workspace, bool isActive);
    const QString &name() const { return m_workspace.name; }
    bool isActive() const { return m_isActive; }
    void setExpanded(bool expanded);
    bool isExpanded() const { return m_expanded; }
    void setDragging(bool dragging);

    QLabel *handle() const { return m_handle; }
    QLineEdit *nameField() const { return m_field; }
    QWidget *filler() const { return m_filler; }
    QToolButton *chevron() const { return m_chevron; }
    // None while collapsed.
    DeskMetadataRow *metadata() const { return m_metadata; }

    // Asked for before the model renames, so the list can move this row to the new name.
    std::function<void(const QString &oldName, const QString &newName)> onRenaming;
    std::function<void()> toggleExpanded;

    // Runs the rename of the typed name: nothing when it is the stored name but for blanks.
    void commitRename();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitField();

    const SettingsContext &m_context;
    Workspace m_workspace;
    bool m_isActive;
    bool m_expanded = false;
    QLabel *m_handle;
    QLineEdit *m_field;
    QLabel *m_screenshotMark;
    QWidget *m_filler;
    QToolButton *m_chevron;
    DeskMetadataRow *m_metadata = nullptr;
};

} // namespace quorvane
