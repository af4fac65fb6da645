#include "SettingsViews/ReorderableDesksList.h"

#include "Settings/SettingsModel.h"
#include "Settings/Style.h"
#include "SettingsViews/TabChain.h"
#include "SettingsViews/WorkspaceRow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cmath>

namespace quorvane {

ReorderableDesksList::ReorderableDesksList(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_drag(WorkspaceRow::rowHeight)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

WorkspaceRow *ReorderableDesksList::row(const QString &name) const
{
    auto found = m_rows.find(name);
    return found == m_rows.end() ? nullptr : found->second;
}

WorkspaceRow *ReorderableDesksList::makeRow(const Workspace &workspace, bool isActive)
{
    auto *made = new WorkspaceRow(m_context, workspace, isActive, this);
    QPointer<WorkspaceRow> guard(made);
    made->toggleExpanded = [this, guard] {
        if (guard)
            toggle(guard->name());
    };
    made->onRenaming = [this](const QString &from, const QString &to) {
        m_renamingFrom = from;
        m_renamingTo = to;
    };
    made->handle()->installEventFilter(this);
    made->filler()->installEventFilter(this);
    made->show();
    return made;
}

void ReorderableDesksList::refresh(const std::vector<Workspace> &workspaces, const QString &activeName)
{
    m_activeName = activeName;
    QStringList order;
    std::map<QString, WorkspaceRow *> rows;
    for (const Workspace &workspace : workspaces) {
        if (order.contains(workspace.name))
            continue;
        order << workspace.name;
        const bool isActive = workspace.name == activeName;
        WorkspaceRow *kept = row(workspace.name);
        if (!kept && !m_renamingTo.isEmpty() && workspace.name == m_renamingTo) {
            // The row being renamed takes its new name instead of being built again.
            kept = row(m_renamingFrom);
            if (kept && m_expanded.remove(m_renamingFrom))
                m_expanded.insert(workspace.name);
            if (kept)
                m_rows.erase(m_renamingFrom);
        }
        if (kept) {
            m_rows.erase(workspace.name);
            kept->update(workspace, isActive);
        } else {
            kept = makeRow(workspace, isActive);
        }
        rows[workspace.name] = kept;
    }
    for (auto &[name, gone] : m_rows) {
        m_expanded.remove(name);
        gone->hide();
        gone->deleteLater();
    }
    m_rows = std::move(rows);
    m_order = order;
    if (m_drag.active() && !m_rows.count(m_drag.draggingName())) {
        m_drag.cancel();
        m_pressed = nullptr;
    }
    relayout();
}

void ReorderableDesksList::toggle(const QString &name)
{
    if (!m_expanded.remove(name))
        m_expanded.insert(name);
    relayout();
    // An opened row's details are built now, at the chain's end: put them after their row.
    chainTabsInVisualOrder(this);
}

QSize ReorderableDesksList::sizeHint() const
{
    int height = 0;
    for (const QString &name : m_order)
        height += row(name)->sizeHint().height();
    return {400, height};
}

void ReorderableDesksList::relayout()
{
    int y = 0;
    for (int i = 0; i < m_order.size(); ++i) {
        WorkspaceRow *entry = row(m_order[i]);
        const bool dragged = m_drag.active() && m_drag.draggingName() == m_order[i];
        entry->setExpanded(m_expanded.contains(m_order[i]) && !m_drag.active());
        entry->setDragging(dragged);
        const int height = entry->sizeHint().height();
        const double offset = dragged ? m_drag.translation() : m_drag.gapShift(i);
        entry->setGeometry(0, y + int(offset), width(), height);
        if (dragged)
            entry->raise();
        y += height;
    }
    updateGeometry();
    update();
}

void ReorderableDesksList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void ReorderableDesksList::paintEvent(QPaintEvent *)
{
    // A faint line under every entry but the last.
    QPainter painter(this);
    QColor line = palette().color(QPalette::WindowText);
    line.setAlphaF(0.15);
    int y = 0;
    for (int i = 0; i + 1 < m_order.size(); ++i) {
        y += row(m_order[i])->sizeHint().height();
        painter.fillRect(QRect(24, y - 1, width() - 48, 1), line);
    }
}

bool ReorderableDesksList::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint at = mapFromGlobal(mouse->globalPosition().toPoint());
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        for (auto &[name, entry] : m_rows) {
            if (watched == entry->handle() || watched == entry->filler())
                press(entry, at);
        }
        return true;
    }
    if (type == QEvent::MouseMove && m_pressed) {
        moveTo(at);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton && m_pressed) {
        moveTo(at);
        release();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ReorderableDesksList::press(WorkspaceRow *entry, QPoint at)
{
    m_pressed = entry;
    m_pressAt = at;
}

void ReorderableDesksList::moveTo(QPoint at)
{
    const QPoint travel = at - m_pressAt;
    if (!m_drag.active()) {
        if (std::hypot(double(travel.x()), double(travel.y())) < dragDistance)
            return;
        m_expanded.clear();
        m_drag.start(m_pressed->name(), int(m_order.indexOf(m_pressed->name())));
    }
    m_drag.move(travel.y(), int(m_order.size()));
    relayout();
}

void ReorderableDesksList::release()
{
    QPointer<WorkspaceRow> entry = m_pressed;
    m_pressed = nullptr;
    if (m_drag.active()) {
        const QStringList order = m_drag.finish(m_order);
        relayout();
        m_context.model.setDeskOrder(order);
        return;
    }
    // A click: switch, unless it is the active desktop.
    if (!entry)
        return;
    const QString name = entry->name();
    if (name != m_context.model.config().activeWorkspace && m_context.model.onSwitch)
        m_context.model.onSwitch(name);
}

} // namespace quorvane
