#pragma once

#include "SettingsViews/DragReorder.h"
#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QWidget>

class QVariantAnimation;

#include <limits>
#include <map>
#include <vector>

namespace quorvane {

class WorkspaceRow;

// The live desktops in their stored order, one row each, kept by name across refreshes. A row
// is dragged from anywhere on its top line to reorder the list (from the name too, which then
// selects no text); a press and release without moving is a click, which switches to that
// desktop (on the name it edits, on the chevron it opens the details). The dragged row is
// lifted: scaled up a little over a shadow; the others make room with a spring.
class ReorderableDesksList : public QWidget {
    Q_OBJECT

public:
    static constexpr int dragDistance = 6;
    static constexpr double liftScale = 1.02;

    explicit ReorderableDesksList(const SettingsContext &context, QWidget *parent = nullptr);

    // Shows these desktops; rows of names still present are kept as they are. Only the first
    // buildLimit rows not built yet are built now; the others keep their places, empty, until
    // a later refresh or a drag needs them.
    void refresh(const std::vector<Workspace> &workspaces, const QString &activeName,
                 int buildLimit = std::numeric_limits<int>::max());

    QStringList order() const { return m_order; }
    // None for a row not built yet.
    WorkspaceRow *row(const QString &name) const;
    const DragReorder &drag() const { return m_drag; }
    // Moves the other rows towards their places while the target changes.
    QVariantAnimation *spring() const { return m_spring; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    WorkspaceRow *makeRow(const Workspace &workspace, bool isActive);
    // The height of the row of that name, a collapsed row's when it is not built yet.
    int rowHeightOf(const QString &name) const;
    // Builds the rows a refresh left for later.
    void buildAll();
    void toggle(const QString &name);
    void relayout(const QString &animateOpening = {});
    WorkspaceRow *rowOwning(QObject *watched) const;
    void startSpring();
    void press(WorkspaceRow *row, QPoint at);
    void moveTo(QPoint at);
    void release();

    const SettingsContext &m_context;
    QStringList m_order;
    QString m_activeName;
    // As last shown, for the rows built later.
    std::vector<Workspace> m_workspaces;
    std::map<QString, WorkspaceRow *> m_rows;
    QSet<QString> m_expanded;
    DragReorder m_drag;
    // A row's rename under way: the name it is about to take.
    QString m_renamingFrom;
    QString m_renamingTo;
    QPointer<WorkspaceRow> m_pressed;
    QPoint m_pressAt;
    // Where each row other than the dragged one is drawn off its place, and where the running
    // spring took it from.
    std::map<QString, double> m_shown;
    std::map<QString, double> m_springFrom;
    QVariantAnimation *m_spring;
};

} // namespace quorvane
