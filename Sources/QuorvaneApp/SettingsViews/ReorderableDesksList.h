#pragma once

#include "SettingsViews/DragReorder.h"
#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <map>
#include <vector>

namespace quorvane {

class WorkspaceRow;

// The live desktops in their stored order, one row each, kept by name across refreshes. A row
// is dragged by its handle or its free area to reorder the list; a press and release without
// moving is a click, which switches to that desktop.
class ReorderableDesksList : public QWidget {
    Q_OBJECT

public:
    static constexpr int dragDistance = 6;

    explicit ReorderableDesksList(const SettingsContext &context, QWidget *parent = nullptr);

    // Shows these desktops; rows of names still present are kept as they are.
    void refresh(const std::vector<Workspace> &workspaces, const QString &activeName);

    QStringList order() const { return m_order; }
    WorkspaceRow *row(const QString &name) const;
    const DragReorder &drag() const { return m_drag; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    WorkspaceRow *makeRow(const Workspace &workspace, bool isActive);
    void toggle(const QString &name);
    void relayout();
    void press(WorkspaceRow *row, QPoint at);
    void moveTo(QPoint at);
    void release();

    const SettingsContext &m_context;
    QStringList m_order;
    QString m_activeName;
    std::map<QString, WorkspaceRow *> m_rows;
    QSet<QString> m_expanded;
    DragReorder m_drag;
    // A row's rename under way: the name it is about to take.
    QString m_renamingFrom;
    QString m_renamingTo;
    QPointer<WorkspaceRow> m_pressed;
    QPoint m_pressAt;
};

} // namespace quorvane
