#pragma once

#include <QDate>
#include <QWidget>

#include <optional>

class QLabel;
class QToolButton;

namespace quorvane {

class CalendarDaySidebar;
class CalendarGridView;
class CalendarModel;

// The month calendar of cleanups and desktop timers: the month's title with "Today" and the
// previous and next month, the weekday labels, the grid and, when shown, the day sidebar.
class CleanupCalendarView : public QWidget {
public:
    struct Options {
        bool interactive = true;  // circles can be dragged and names dropped
        bool showsSidebar = true; // the day sidebar is shown and days can be selected
        int rows = 6;
        double rowHeight = 46;
    };

    CleanupCalendarView(CalendarModel &model, Options options, QWidget *parent = nullptr);

    QDate monthAnchor() const { return m_anchor; }
    const std::optional<QDate> &selectedDay() const { return m_selected; }
    void shiftMonth(int delta);
    void showToday();
    void selectDay(const QDate &day);

    CalendarGridView *grid() const { return m_grid; }
    CalendarDaySidebar *sidebar() const { return m_sidebar; }
    QLabel *monthTitle() const { return m_title; }

private:
    void refresh();

    Options m_options;
    QDate m_anchor = QDate::currentDate();
    std::optional<QDate> m_selected;
    QLabel *m_title;
    QList<QLabel *> m_weekdays;
    CalendarGridView *m_grid;
    CalendarDaySidebar *m_sidebar = nullptr;
};

} // namespace quorvane
