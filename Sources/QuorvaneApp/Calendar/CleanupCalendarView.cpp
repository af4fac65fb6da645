#include "Calendar/CleanupCalendarView.h"

#include "Calendar/CalendarDaySidebar.h"
#include "Calendar/CalendarGridView.h"
#include "Calendar/FadedLabel.h"
#include "Calendar/MonthGrid.h"
#include "Shared/SymbolIcon.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QPushButton *headerButton(const QString &objectName, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

CleanupCalendarView::CleanupCalendarView(CalendarModel &model, Options options, QWidget *parent)
    : QWidget(parent)
    , m_options(options)
    , m_title(new QLabel(this))
    , m_grid(new CalendarGridView(model, options.rows, options.rowHeight, this))
{
    auto *column = new QVBoxLayout;
    column->setSpacing(6);
    column->setContentsMargins(0, 0, 0, 0);

    auto *header = new QHBoxLayout;
    m_title->setObjectName(QStringLiteral("monthTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    header->addWidget(m_title);
    header->addStretch(1);
    QPushButton *today = headerButton(QStringLiteral("today"), this);
    today->setText(QCoreApplication::translate("CleanupCalendarView", "Today"));
    QPushButton *previous = headerButton(QStringLiteral("previousMonth"), this);
    SymbolIcon::apply(previous, QStringLiteral("chevron.left"));
    QPushButton *next = headerButton(QStringLiteral("nextMonth"), this);
    SymbolIcon::apply(next, QStringLiteral("chevron.right"));
    header->addWidget(today);
    header->addWidget(previous);
    header->addWidget(next);
    connect(today, &QPushButton::clicked, this, [this] { showToday(); });
    connect(previous, &QPushButton::clicked, this, [this] { shiftMonth(-1); });
    connect(next, &QPushButton::clicked, this, [this] { shiftMonth(1); });
    column->addLayout(header);

    auto *weekdays = new QHBoxLayout;
    weekdays->setSpacing(0);
    for (int i = 0; i < 7; ++i) {
        auto *label = new FadedLabel(QString(), 0.55, 0.8, this);
        label->setAlignment(Qt::AlignCenter);
        weekdays->addWidget(label, 1);
        m_weekdays << label;
    }
    column->addLayout(weekdays);

    m_grid->setInteractive(options.interactive);
    m_grid->setSelectable(options.showsSidebar);
    m_grid->onSelectDay = [this](const QDate &day) { selectDay(day); };
    column->addWidget(m_grid);

    if (options.showsSidebar) {
        auto *row = new QHBoxLayout(this);
        row->setContentsMargins(16, 12, 16, 10);
        row->setSpacing(14);
        auto *calendar = new QWidget(this);
        calendar->setMinimumWidth(300);
        calendar->setLayout(column);
        row->addWidget(calendar, 1, Qt::AlignTop);
        auto *divider = new QFrame(this);
        divider->setFrameShape(QFrame::VLine);
        divider->setFrameShadow(QFrame::Plain);
        divider->setEnabled(false);
        row->addWidget(divider);
        m_sidebar = new CalendarDaySidebar(model, this);
        row->addWidget(m_sidebar);
    } else {
        column->setContentsMargins(16, 12, 16, 6);
        setLayout(column);
    }
    refresh();
}

void CleanupCalendarView::shiftMonth(int delta)
{
    m_anchor = MonthGrid::shiftMonth(m_anchor, delta);
    refresh();
}

void CleanupCalendarView::showToday()
{
    m_anchor = QDate::currentDate();
    refresh();
}

void CleanupCalendarView::selectDay(const QDate &day)
{
    if (!m_options.showsSidebar)
        return;
    m_selected = day;
    refresh();
}

void CleanupCalendarView::refresh()
{
    const QLocale locale;
    m_title->setText(MonthGrid::monthTitle(m_anchor, locale));
    const QStringList symbols = MonthGrid::weekdaySymbols(locale, locale.firstDayOfWeek());
    for (int i = 0; i < m_weekdays.size(); ++i)
        m_weekdays[i]->setText(symbols.value(i));
    m_grid->setMonth(m_anchor);
    m_grid->setSelectedDay(m_selected);
    if (m_sidebar)
        m_sidebar->setDay(m_selected.value_or(QDate::currentDate()));
}

} // namespace quorvane
