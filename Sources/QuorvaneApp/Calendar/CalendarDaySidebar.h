#pragma once

#include "Calendar/TimerOp.h"
#include "Calendar/WindowDragHandle.h"

#include <QDate>

class QVBoxLayout;

namespace quorvane {

class CalendarModel;

// The calendar's editing panel for one day: its cleanup reminders and desktop timers, each with
// a date picker to move it (and a cleanup's button to drop the desktop's reminder), and a menu
// adding a reminder for another desktop on that day. Rebuilt from the model whenever it
// changes; the rebuild itself never calls the model. A press on an empty part moves the window.
class CalendarDaySidebar : public WindowDragHandle {
public:
    static constexpr int width = 210;

    explicit CalendarDaySidebar(CalendarModel &model, QWidget *parent = nullptr);

    // The day shown: the selected one, or today while none is.
    void setDay(const QDate &day);
    QDate day() const { return m_day; }
    void rebuild();

private:
    QWidget *cleanupRow(const QString &name);
    QWidget *timerRow(const TimerOp &op);
    QWidget *addSection();
    QString colorHex(const QString &name) const;

    CalendarModel &m_model;
    QDate m_day = QDate::currentDate();
    QVBoxLayout *m_layout;
    QWidget *m_content = nullptr;
};

} // namespace quorvane
