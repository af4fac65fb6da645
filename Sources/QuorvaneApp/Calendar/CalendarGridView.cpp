#include "Calendar/CalendarGridView.h"

#include "Calendar/CalendarModel.h"
#include "Calendar/MonthGrid.h"
#include "Shared/FocusRing.h"
#include "Shared/Style.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <QPainterPath>
#include <algorithm>

#include <cmath>

namespace quorvane {

namespace {

QList<QColor> colorsOf(const QStringList &hexes)
{
    QList<QColor> out;
    for (const QString &hex : hexes)
        out << colorFromHex(hex);
    return out;
}

std::optional<QUuid> taskUuid(const QString &id)
{
    static const QString prefix = QStringLiteral("clean:");
    if (!id.startsWith(prefix))
        return std::nullopt;
    const QUuid uuid = QUuid::fromString(QStringView(id).mid(prefix.size()));
    if (uuid.isNull())
        return std::nullopt;
    return uuid;
}

// The text colours of the day numbers: the other months' days in the secondary text colour,
// the past ones (which take nothing) in the disabled one drawn towards the text until it reads at
// 4.5:1, so that every date stays legible.
QColor toned(const QPalette &palette, MonthGrid::DayTone tone)
{
    switch (tone) {
    case MonthGrid::DayTone::primary:
        break;
    case MonthGrid::DayTone::tertiary:
        return palette.color(QPalette::PlaceholderText);
    case MonthGrid::DayTone::quaternary:
        return Style::readableOn(palette.color(QPalette::Disabled, QPalette::WindowText), palette.color(QPalette::WindowText),
                                 {palette.color(QPalette::Window)}, 4.5);
    }
    return palette.color(QPalette::WindowText);
}

} // namespace

CalendarGridView::CalendarGridView(CalendarModel &model, int rows, double rowHeight, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_rows(rows)
    , m_rowHeight(rowHeight)
{
    setAcceptDrops(true);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    FocusRing::setOwnRing(this); // the ring goes around the keyboard's day
    setFixedHeight(int(std::lround(rowHeight * rows)));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_follow.setDuration(320);
    m_follow.setEasingCurve(QEasingCurve(QEasingCurve::OutBack));
    connect(&m_follow, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_shownLocation = value.toPointF();
        update();
    });
    connect(&model, &CalendarModel::configChanged, this, qOverload<>(&QWidget::update));
}

void CalendarGridView::setMonth(const QDate &anchor)
{
    m_anchor = anchor;
    update();
}

void CalendarGridView::setSelectedDay(const std::optional<QDate> &day)
{
    m_selected = day;
    if (day)
        m_keyboardDay = day;
    update();
}

void CalendarGridView::setSelectable(bool selectable)
{
    m_selectable = selectable;
    setFocusPolicy(selectable ? Qt::StrongFocus : Qt::NoFocus);
}

QDate CalendarGridView::keyboardDay() const
{
    const auto shown = days();
    const auto isShown = [&](const std::optional<QDate> &day) {
        return day && std::find(shown.begin(), shown.end(), *day) != shown.end();
    };
    for (const std::optional<QDate> &day : {m_keyboardDay, m_selected, std::optional<QDate>(today())}) {
        if (isShown(day))
            return *day;
    }
    return QDate(m_anchor.year(), m_anchor.month(), 1);
}

void CalendarGridView::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = layoutDirection() == Qt::RightToLeft ? 1 : -1;
        break;
    case Qt::Key_Right:
        step = layoutDirection() == Qt::RightToLeft ? -1 : 1;
        break;
    case Qt::Key_Up:
        step = -7;
        break;
    case Qt::Key_Down:
        step = 7;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!m_selectable || !onSelectDay) {
            QWidget::keyPressEvent(event);
            return;
        }
        event->accept();
        onSelectDay(keyboardDay());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // The keyboard's day stays on the days shown.
    const QDate next = keyboardDay().addDays(step);
    const auto shown = days();
    if (std::find(shown.begin(), shown.end(), next) != shown.end()) {
        m_keyboardDay = next;
        update();
    }
}

void CalendarGridView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CalendarGridView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CalendarGridView::setInteractive(bool interactive)
{
    m_interactive = interactive;
    setAcceptDrops(interactive);
}

QSize CalendarGridView::sizeHint() const
{
    return QSize(7 * 44, int(std::lround(m_rowHeight * m_rows)));
}

std::vector<QDate> CalendarGridView::days() const
{
    return MonthGrid::days(m_anchor, m_rows, QLocale().firstDayOfWeek());
}

GridMetrics CalendarGridView::metrics() const
{
    return GridMetrics{width() / 7.0, m_rowHeight, m_rows};
}

std::vector<Marker> CalendarGridView::markers() const
{
    return CalendarMarkers::layout(calendarItems(m_model.config(), m_model.timerOps()), days(), metrics());
}

bool CalendarGridView::isHidden(const QString &id) const
{
    return m_drag && (m_drag->itemID == id || m_drag->targetID == id);
}

std::optional<Marker> CalendarGridView::markerAt(const QPointF &point) const
{
    // The circle drawn last is the one on top.
    std::optional<Marker> hit;
    for (const Marker &marker : markers()) {
        if (std::hypot(marker.center.x() - point.x(), marker.center.y() - point.y()) <= CalendarMarkers::hitRadius)
            hit = marker;
    }
    return hit;
}

void CalendarGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_pressPoint = event->position();
    const auto marker = markerAt(m_pressPoint);
    m_pressedID = marker ? std::optional<QString>(marker->item.id) : std::nullopt;
    event->accept();
}

void CalendarGridView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || !m_pressedID || !m_interactive)
        return;
    const QPointF point = event->position();
    if (!m_drag && QLineF(m_pressPoint, point).length() < CalendarMarkers::dragThreshold)
        return;
    for (const Marker &marker : markers()) {
        if (marker.item.id == *m_pressedID) {
            dragChanged(marker, point);
            return;
        }
    }
}

void CalendarGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const QPointF point = event->position();
    if (m_drag) {
        std::optional<Marker> dragged;
        for (const Marker &marker : markers()) {
            if (marker.item.id == m_drag->itemID)
                dragged = marker;
        }
        if (dragged)
            dragEnded(*dragged, point);
        m_drag.reset();
        m_follow.stop();
        update();
        return;
    }
    // A tap: on a circle it selects the circle's day, elsewhere the day under it.
    if (!m_selectable || !onSelectDay)
        return;
    if (m_pressedID) {
        for (const Marker &marker : markers()) {
            if (marker.item.id == *m_pressedID) {
                onSelectDay(marker.item.day());
                return;
            }
        }
    }
    const auto index = CalendarMarkers::cellIndex(point, metrics());
    const auto shown = days();
    if (index && *index < int(shown.size()))
        onSelectDay(shown[std::size_t(*index)]);
}

void CalendarGridView::dragChanged(const Marker &dragged, const QPointF &point)
{
    const std::optional<QString> target = dragged.item.mergeable
        ? CalendarMarkers::mergeTarget(point, dragged.item.id, markers())
        : std::nullopt;
    const bool started = !m_drag;
    m_drag = DragState{dragged.item.id, point, target};
    m_follow.stop();
    m_follow.setStartValue(started ? dragged.center : m_shownLocation);
    m_follow.setEndValue(point);
    m_shownLocation = started ? dragged.center : m_shownLocation;
    m_follow.start();
    update();
}

void CalendarGridView::dragEnded(const Marker &dragged, const QPointF &point)
{
    const auto index = CalendarMarkers::cellIndex(point, metrics());
    const auto shown = days();
    if (!index || *index >= int(shown.size()))
        return;
    const QDate day = shown[std::size_t(*index)];
    if (MonthGrid::isPast(day, today()))
        return;
    if (dragged.item.mergeable) {
        if (const auto target = CalendarMarkers::mergeTarget(point, dragged.item.id, markers())) {
            const auto source = taskUuid(dragged.item.id);
            const auto into = taskUuid(*target);
            if (source && into) {
                m_model.mergeTasks(*source, *into);
                return;
            }
        }
    }
    if (const CleanupTask *task = dragged.item.task())
        m_model.rescheduleTask(task->id, startOfDay(day));
    else if (const TimerOp *timer = dragged.item.timer())
        m_model.rescheduleTimer(timer->workspace, startOfDay(day));
}

bool CalendarGridView::dropName(const QString &name, const QPointF &point)
{
    const auto index = CalendarMarkers::cellIndex(point, metrics());
    const auto shown = days();
    if (!index || *index >= int(shown.size()))
        return false;
    const QDate day = shown[std::size_t(*index)];
    if (MonthGrid::isPast(day, today()))
        return false;
    // Any text can come from another application: only a desktop that may still be sorted
    // can be given a cleanup date.
    bool usable = false;
    for (const Workspace &workspace : m_model.config().workspaces) {
        if (workspace.name == name && workspace.state != WorkspaceState::archivedSorted)
            usable = true;
    }
    if (!usable)
        return false;
    m_model.setCleanupDate(name, startOfDay(day));
    return true;
}

void CalendarGridView::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_interactive && event->mimeData()->hasText()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CalendarGridView::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_interactive && event->mimeData()->hasText()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CalendarGridView::dropEvent(QDropEvent *event)
{
    if (!m_interactive || !event->mimeData()->hasText() || !dropName(event->mimeData()->text(), event->position())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CalendarGridView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const GridMetrics grid = metrics();
    const auto shown = days();
    const QDate now = today();
    const QColor tint = palette().color(QPalette::Highlight);

    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QDate &day = shown[i];
        const QPointF centre((int(i) % 7 + 0.5) * grid.cellWidth, (int(i) / 7 + 0.5) * grid.rowHeight);
        const QRectF frame(centre.x() - 13, centre.y() - 11, 26, 22);
        if (m_selectable && m_selected && *m_selected == day) {
            QColor fill = tint;
            fill.setAlphaF(0.18f);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawRoundedRect(frame, 6, 6);
        }
        if (day == now) {
            // Today as the desktop's calendars mark it: its number bold on the accent.
            painter.setPen(Qt::NoPen);
            painter.setBrush(tint);
            painter.drawRoundedRect(frame, 6, 6);
            painter.setPen(Style::readableOn(palette().color(QPalette::HighlightedText), Style::textOn(tint), {tint}, 4.5));
            QFont bold = painter.font();
            bold.setBold(true);
            painter.save();
            painter.setFont(bold);
            painter.drawText(frame, Qt::AlignCenter, QString::number(day.day()));
            painter.restore();
            continue;
        }
        painter.setPen(toned(palette(), MonthGrid::tone(day, m_anchor, now)));
        painter.drawText(frame, Qt::AlignCenter, QString::number(day.day()));
    }
    if (hasFocus()) {
        const auto at = std::find(shown.begin(), shown.end(), keyboardDay());
        if (at != shown.end()) {
            const int i = int(at - shown.begin());
            const QPointF centre((i % 7 + 0.5) * grid.cellWidth, (i / 7 + 0.5) * grid.rowHeight);
            painter.setPen(QPen(Style::focusColor(palette()), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(centre.x() - 15, centre.y() - 13, 30, 26), 7, 7);
        }
    }

    const auto all = markers();
    for (const Marker &marker : all) {
        if (isHidden(marker.item.id))
            continue;
        const double r = CalendarMarkers::diameter / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(CalendarMarkers::gradient(marker.center, colorsOf(marker.item.stops)));
        painter.drawEllipse(marker.center, r, r);
        if (marker.item.autoTimer) {
            QColor ring = palette().color(QPalette::WindowText);
            ring.setAlphaF(0.55f);
            QPen pen(ring, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
            if (marker.item.idle)
                pen.setDashPattern({2 / 1.5, 2 / 1.5});
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            // Stroked inside the 15-point circle.
            const double ringRadius = CalendarMarkers::ringDiameter / 2 - 0.75;
            painter.drawEllipse(marker.center, ringRadius, ringRadius);
        }
    }

    if (m_drag)
        paintGoo(painter, all);
}

void CalendarGridView::paintGoo(QPainter &painter, const std::vector<Marker> &markers)
{
    std::vector<QPointF> blobs{m_follow.state() == QAbstractAnimation::Running ? m_shownLocation : m_drag->location};
    QStringList stops;
    bool draggedFound = false;
    for (const Marker &marker : markers) {
        if (marker.item.id == m_drag->itemID) {
            stops = marker.item.stops;
            draggedFound = true;
        }
    }
    if (m_drag->targetID) {
        for (const Marker &marker : markers) {
            if (marker.item.id == *m_drag->targetID) {
                blobs.push_back(marker.center);
                stops += marker.item.stops;
            }
        }
    }
    if (!draggedFound || stops.isEmpty())
        stops = QStringList{calendarGrayHex};

    const QSize area = size();
    QImage goo(area, QImage::Format_ARGB32_Premultiplied);
    goo.fill(Qt::transparent);
    {
        QPainter fill(&goo);
        fill.fillRect(goo.rect(), CalendarMarkers::gradient(QRectF(goo.rect()).center(), colorsOf(stops)));
        fill.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        fill.drawImage(0, 0, CalendarMarkers::gooMask(area, blobs));
    }
    painter.drawImage(0, 0, goo);
}

} // namespace quorvane
