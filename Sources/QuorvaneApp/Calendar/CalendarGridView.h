#pragma once

#include "Calendar/CalendarMarkers.h"

#include <QDate>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace quorvane {

class CalendarModel;

// The month grid of the cleanup calendar: the day numbers, a circle per cleanup and timer, the
// marker of today and, while a circle is dragged, the goo that follows the pointer. With
// interactive on, circles are dragged to other days (a cleanup dropped onto another merges
// into it) and desktop names dropped as text set their cleanup date. Every change goes
// through the model.
class CalendarGridView : public QWidget {
public:
    // The circle being dragged: where the pointer is, and the cleanup it would merge with.
    struct DragState {
        QString itemID;
        QPointF location;
        std::optional<QString> targetID;
    };

    CalendarGridView(CalendarModel &model, int rows, double rowHeight, QWidget *parent = nullptr);

    void setMonth(const QDate &anchor);
    void setSelectedDay(const std::optional<QDate> &day);
    void setInteractive(bool interactive);
    void setSelectable(bool selectable);

    // The day the keyboard is on: the arrows move it, Return or Space selects it (as a tap does)
    // when days can be selected. The last one chosen while it is shown; else the selected day,
    // today or the month's first day, whichever is shown first.
    QDate keyboardDay() const;

    // A tap on a day or a circle, or Return on the keyboard's day, when days can be selected.
    std::function<void(const QDate &day)> onSelectDay;

    std::vector<QDate> days() const;
    GridMetrics metrics() const;
    std::vector<Marker> markers() const;
    const std::optional<DragState> &drag() const { return m_drag; }
    // True while that circle is drawn by the goo instead.
    bool isHidden(const QString &id) const;
    // Desktop name text dropped at point: sets its cleanup date to the day there; false, and
    // nothing changed, on a past day, outside the grid, or for a name that is no desktop or
    // only one archived as sorted.
    bool dropName(const QString &name, const QPointF &point);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QDate today() const { return QDate::currentDate(); }
    std::optional<Marker> markerAt(const QPointF &point) const;
    void dragChanged(const Marker &dragged, const QPointF &point);
    void dragEnded(const Marker &dragged, const QPointF &point);
    void paintGoo(QPainter &painter, const std::vector<Marker> &markers);

    CalendarModel &m_model;
    int m_rows;
    double m_rowHeight;
    QDate m_anchor = QDate::currentDate();
    std::optional<QDate> m_selected;
    std::optional<QDate> m_keyboardDay;
    bool m_interactive = true;
    bool m_selectable = true;

    std::optional<QString> m_pressedID; // the circle under the press
    QPointF m_pressPoint;
    bool m_pressed = false;
    std::optional<DragState> m_drag;
    // The goo's pointer blob follows the pointer with a short overshooting spring.
    QVariantAnimation m_follow;
    QPointF m_shownLocation;
};

} // namespace quorvane
