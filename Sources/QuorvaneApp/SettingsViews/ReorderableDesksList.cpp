#include "SettingsViews/ReorderableDesksList.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/TabChain.h"
#include "SettingsViews/WorkspaceRow.h"
#include "Shared/Style.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QToolButton>
#include <QVariantAnimation>

#include <cmath>

namespace quorvane {

namespace {

// A damped spring's step response (half a second for the whole of it, response 0.3 s, damping
// fraction 0.86), as an easing curve over the animation's progress.
constexpr int springMilliseconds = 500;

qreal springCurve(qreal progress)
{
    constexpr double pi = 3.14159265358979323846;
    constexpr double damping = 0.86;
    const double omega = 2 * pi / 0.3;
    const double decay = damping * omega;
    const double ringing = omega * std::sqrt(1 - damping * damping);
    const double t = progress * springMilliseconds / 1000.0;
    if (progress >= 1)
        return 1;
    return 1 - std::exp(-decay * t) * (std::cos(ringing * t) + decay / ringing * std::sin(ringing * t));
}

} // namespace

ReorderableDesksList::ReorderableDesksList(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_drag(WorkspaceRow::rowHeight)
    , m_spring(new QVariantAnimation(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_spring->setDuration(springMilliseconds);
    QEasingCurve curve;
    curve.setCustomType(springCurve);
    m_spring->setEasingCurve(curve);
    m_spring->setStartValue(0.0);
    m_spring->setEndValue(1.0);
    connect(m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const double progress = value.toDouble();
        for (int i = 0; i < m_order.size(); ++i) {
            const double from = m_springFrom.count(m_order[i]) ? m_springFrom[m_order[i]] : 0.0;
            m_shown[m_order[i]] = from + (m_drag.gapShift(i) - from) * progress;
        }
        relayout();
    });
}

WorkspaceRow *ReorderableDesksList::rowOwning(QObject *watched) const
{
    for (const auto &[name, entry] : m_rows) {
        if (entry->grips().contains(watched))
            return entry;
    }
    return nullptr;
}

void ReorderableDesksList::startSpring()
{
    m_springFrom = m_shown;
    m_spring->stop();
    m_spring->start();
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
    made->onHeightChanged = [this] { relayout(); };
    for (QWidget *grip : made->grips())
        grip->installEventFilter(this);
    made->show();
    return made;
}

void ReorderableDesksList::refresh(const std::vector<Workspace> &workspaces, const QString &activeName,
                                   int buildLimit)
{
    m_activeName = activeName;
    m_workspaces = workspaces;
    QStringList order;
    QSet<QString> listed;
    std::map<QString, WorkspaceRow *> rows;
    int built = 0;
    for (const Workspace &workspace : workspaces) {
        if (listed.contains(workspace.name))
            continue;
        listed.insert(workspace.name);
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
        } else if (built < buildLimit) {
            kept = makeRow(workspace, isActive);
            ++built;
        } else {
            continue;
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
    relayout(name);
    // An opened row's details are built now, at the chain's end: put them after their row.
    chainTabsInVisualOrder(this);
}

int ReorderableDesksList::rowHeightOf(const QString &name) const
{
    const WorkspaceRow *entry = row(name);
    return entry ? entry->sizeHint().height() : WorkspaceRow::rowHeight;
}

void ReorderableDesksList::buildAll()
{
    if (m_rows.size() < std::size_t(m_order.size()))
        refresh(m_workspaces, m_activeName);
}

QSize ReorderableDesksList::sizeHint() const
{
    int height = 0;
    for (const QString &name : m_order)
        height += rowHeightOf(name);
    return {400, height};
}

void ReorderableDesksList::relayout(const QString &animateOpening)
{
    int y = 0;
    for (int i = 0; i < m_order.size(); ++i) {
        const QString &name = m_order[i];
        WorkspaceRow *entry = row(name);
        if (!entry) {
            y += WorkspaceRow::rowHeight;
            continue;
        }
        const bool dragged = m_drag.active() && m_drag.draggingName() == name;
        entry->setExpanded(m_expanded.contains(name) && !m_drag.active(), name == animateOpening);
        entry->setDragging(dragged);
        entry->setLifted(dragged);
        const int height = entry->sizeHint().height();
        if (dragged) {
            // Follows the pointer, scaled up a little about its centre.
            const QRectF place(0, y + m_drag.translation(), width(), height);
            QRectF lifted(0, 0, place.width() * liftScale, place.height() * liftScale);
            lifted.moveCenter(place.center());
            entry->setGeometry(lifted.toRect());
            entry->raise();
        } else {
            const auto shown = m_shown.find(name);
            const double offset = shown == m_shown.end() ? 0.0 : shown->second;
            entry->setGeometry(0, y + int(std::lround(offset)), width(), height);
        }
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
    line.setAlphaF(0.15f);
    int y = 0;
    for (int i = 0; i + 1 < m_order.size(); ++i) {
        y += rowHeightOf(m_order[i]);
        painter.fillRect(QRect(24, y - 1, width() - 48, 1), line);
    }
    // The lifted row's shadow, 4 down and soft over 8: it shows through the rows it passes,
    // which draw no background of their own.
    WorkspaceRow *lifted = m_drag.active() ? row(m_drag.draggingName()) : nullptr;
    if (!lifted)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(lifted->geometry()).adjusted(4, 0, -4, 0).translated(0, 4);
    QColor shadow = palette().color(QPalette::Shadow);
    for (int ring = 8; ring >= 1; --ring) {
        shadow.setAlphaF(float(0.18 / 8));
        QPainterPath path;
        path.addRoundedRect(body.adjusted(-ring, -ring, ring, ring), 8 + ring, 8 + ring);
        painter.fillPath(path, shadow);
    }
}

bool ReorderableDesksList::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    WorkspaceRow *owner = rowOwning(watched);
    auto *mouse = static_cast<QMouseEvent *>(event);
    // The details under the top line are no grip: presses there reach the row only as
    // unclaimed presses passed up to it.
    const bool inDetails = watched == owner && mouse->position().y() >= WorkspaceRow::rowHeight;
    if (!owner || (inDetails && !m_pressed))
        return QWidget::eventFilter(watched, event);
    const QPoint at = mapFromGlobal(mouse->globalPosition().toPoint());
    // The name and the chevron keep their own clicks: editing, and opening the details.
    const bool ownClicks = watched == owner->nameField() || watched == static_cast<QObject *>(owner->chevron());
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        press(owner, at);
        return !ownClicks;
    }
    if (type == QEvent::MouseMove && m_pressed) {
        // Never to the name while pressed: a drag across it moves the row, it selects nothing.
        moveTo(at);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton && m_pressed) {
        if (!m_drag.active() && ownClicks) {
            m_pressed = nullptr;
            return false;
        }
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
        // Every row moves aside for the dragged one: the ones not built yet are built now.
        buildAll();
        m_drag.start(m_pressed->name(), int(m_order.indexOf(m_pressed->name())));
        m_pressed->nameField()->deselect();
        m_pressed->chevron()->setDown(false);
        m_shown.clear();
    }
    const int target = m_drag.targetIndex();
    m_drag.move(travel.y(), int(m_order.size()));
    if (m_drag.targetIndex() != target)
        startSpring();
    relayout();
}

void ReorderableDesksList::release()
{
    QPointer<WorkspaceRow> entry = m_pressed;
    m_pressed = nullptr;
    if (m_drag.active()) {
        const QStringList order = m_drag.finish(m_order);
        m_spring->stop();
        m_shown.clear();
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
