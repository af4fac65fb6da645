#include "Calendar/CalendarDaySidebar.h"

#include "Calendar/CalendarItem.h"
#include "Calendar/CalendarModel.h"
#include "Calendar/FadedLabel.h"
#include "Calendar/MonthGrid.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/LiteralText.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane {

namespace {

// The colour dot of a row, with a timer's ring around it (dashed for an idle timer).
class RowDot : public QWidget {
public:
    enum class Ring {
        none,
        solid,
        dashed
    };

    RowDot(const QColor &color, Ring ring, QWidget *parent)
        : QWidget(parent)
        , m_color(color)
        , m_ring(ring)
    {
        setFixedSize(15, 15);
        setProperty("color", color);
        setProperty("ring", ring == Ring::none ? "none" : ring == Ring::solid ? "solid"
                                                                              : "dashed");
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_color);
        painter.drawEllipse(centre, 5.5, 5.5);
        if (m_ring == Ring::none)
            return;
        QColor line = palette().color(QPalette::WindowText);
        line.setAlphaF(0.55f);
        QPen pen(line, 1);
        if (m_ring == Ring::dashed)
            pen.setDashPattern({1.5, 1.5});
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, 7, 7);
    }

private:
    QColor m_color;
    Ring m_ring;
};

QLabel *caption(const QString &text, double opacity, QWidget *parent)
{
    return new FadedLabel(text, opacity, 0.85, parent);
}

// A date picker that offers dates from `minimum` on and reads as `value`, also when that lies
// before them (an overdue reminder shows its own date; a date picked before `minimum` is
// `minimum`).
QDateEdit *datePicker(const QDate &value, const QDate &minimum, QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
    const QSignalBlocker quiet(picker);
    picker->setCalendarPopup(true);
    picker->setKeyboardTracking(false);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    picker->setMinimumDate(std::min(value, minimum));
    picker->setDate(value);
    return picker;
}

QDate offered(const QDate &picked, const QDate &minimum)
{
    return std::max(picked, minimum);
}

} // namespace

CalendarDaySidebar::CalendarDaySidebar(CalendarModel &model, QWidget *parent)
    : WindowDragHandle(parent)
    , m_model(model)
    , m_layout(new QVBoxLayout(this))
{
    setFixedWidth(width);
    m_layout->setContentsMargins(0, 0, 0, 0);
    connect(&model, &CalendarModel::configChanged, this, [this] { rebuild(); });
    rebuild();
}

void CalendarDaySidebar::setDay(const QDate &day)
{
    if (day == m_day)
        return;
    m_day = day;
    rebuild();
}

QString CalendarDaySidebar::colorHex(const QString &name) const
{
    const Workspace *workspace = m_model.config().workspace(name);
    return workspace ? workspace->colorHex : QStringLiteral("#888888");
}

void CalendarDaySidebar::rebuild()
{
    // The old rows may be the sender of the change that led here: let them go afterwards.
    if (m_content) {
        m_content->hide();
        m_layout->removeWidget(m_content);
        m_content->deleteLater();
    }
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("sidebarContent"));
    m_content->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    const QStringList names = cleanupMembers(m_model.config(), m_day);
    const std::vector<TimerOp> ops = m_model.timerOps(startOfDay(m_day));

    auto *heading = new QLabel(MonthGrid::dayHeading(m_day, QLocale()), m_content);
    heading->setObjectName(QStringLiteral("heading"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    column->addWidget(heading);

    if (names.isEmpty() && ops.empty()) {
        auto *empty = caption(QCoreApplication::translate("CalendarDaySidebar", "Nothing scheduled on this day."), 0.55, m_content);
        empty->setObjectName(QStringLiteral("emptyNote"));
        column->addWidget(empty);
    }
    for (const QString &name : names)
        column->addWidget(cleanupRow(name));
    for (const TimerOp &op : ops)
        column->addWidget(timerRow(op));

    auto *divider = new QFrame(m_content);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setEnabled(false);
    column->addWidget(divider);
    column->addWidget(addSection());
    column->addStretch(1);
    m_layout->addWidget(m_content);
}

QWidget *CalendarDaySidebar::cleanupRow(const QString &name)
{
    auto *row = new QWidget(m_content);
    row->setObjectName(QStringLiteral("cleanupRow"));
    row->setProperty("workspace", name);
    auto *lines = new QVBoxLayout(row);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(4);

    auto *first = new QHBoxLayout;
    first->setSpacing(8);
    first->addWidget(new RowDot(colorFromHex(colorHex(name)), RowDot::Ring::none, row));
    auto *label = new QLabel(name, row);
    label->setTextFormat(Qt::PlainText);
    first->addWidget(label);
    first->addStretch(1);
    auto *remove = new QToolButton(row);
    remove->setObjectName(QStringLiteral("removeCleanup"));
    remove->setAutoRaise(true);
    remove->setToolTip(QCoreApplication::translate("CalendarDaySidebar", "Remove this cleanup reminder"));
    SymbolIcon::apply(remove, QStringLiteral("xmark.circle.fill"));
    connect(remove, &QToolButton::clicked, this, [this, name] { m_model.removeCleanup(name); });
    first->addWidget(remove);
    lines->addLayout(first);

    auto *second = new QHBoxLayout;
    second->setSpacing(6);
    second->addWidget(caption(QStringLiteral("cleanup"), 0.55, row));
    second->addStretch(1);
    const QDate today = QDate::currentDate();
    QDateEdit *picker = datePicker(m_day, today, row);
    picker->setObjectName(QStringLiteral("cleanupDate"));
    connect(picker, &QDateEdit::dateChanged, this, [this, name, today](const QDate &picked) {
        m_model.setCleanupDate(name, startOfDay(offered(picked, today)));
    });
    second->addWidget(picker);
    lines->addLayout(second);
    return row;
}

QWidget *CalendarDaySidebar::timerRow(const TimerOp &op)
{
    auto *row = new QWidget(m_content);
    row->setObjectName(QStringLiteral("timerRow"));
    row->setProperty("workspace", op.workspace);
    auto *lines = new QVBoxLayout(row);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(4);

    auto *first = new QHBoxLayout;
    first->setSpacing(8);
    auto *dot = new RowDot(colorFromHex(op.colorHex), op.idle ? RowDot::Ring::dashed : RowDot::Ring::solid, row);
    dot->setObjectName(QStringLiteral("timerDot"));
    first->addWidget(dot);
    auto *label = new QLabel(op.workspace, row);
    label->setTextFormat(Qt::PlainText);
    first->addWidget(label);
    first->addStretch(1);
    lines->addLayout(first);

    auto *second = new QHBoxLayout;
    second->setSpacing(6);
    const QString what = op.drains ? QStringLiteral("move → ") + op.drainTarget.value_or(QString())
                                   : QStringLiteral("archive");
    auto *action = caption(what, 0.55, row);
    action->setObjectName(QStringLiteral("timerAction"));
    action->setTextFormat(Qt::PlainText);
    second->addWidget(action);
    second->addStretch(1);
    const QDate today = QDate::currentDate();
    QDateEdit *picker = datePicker(localDay(op.date), today.addDays(1), row);
    picker->setObjectName(QStringLiteral("timerDate"));
    const QString name = op.workspace;
    connect(picker, &QDateEdit::dateChanged, this, [this, name, today](const QDate &picked) {
        m_model.rescheduleTimer(name, startOfDay(offered(picked, today.addDays(1))));
    });
    second->addWidget(picker);
    lines->addLayout(second);

    if (op.idle) {
        auto *note = caption(QStringLiteral("idle timer — shifts on next visit"), 0.35, row);
        note->setObjectName(QStringLiteral("idleNote"));
        lines->addWidget(note);
    }
    return row;
}

QWidget *CalendarDaySidebar::addSection()
{
    if (MonthGrid::isPast(m_day, QDate::currentDate())) {
        auto *note = caption(QCoreApplication::translate("CalendarDaySidebar", "This day has passed — drag a circle out to a later day."), 0.55, m_content);
        note->setObjectName(QStringLiteral("addNote"));
        note->setWordWrap(true);
        return note;
    }
    const QStringList candidates = m_model.cleanupCandidates(startOfDay(m_day));
    if (candidates.isEmpty()) {
        auto *note = caption(QCoreApplication::translate("CalendarDaySidebar", "Every desktop already has a date here."), 0.55, m_content);
        note->setObjectName(QStringLiteral("addNote"));
        note->setWordWrap(true);
        return note;
    }
    auto *button = new QPushButton(QCoreApplication::translate("CalendarDaySidebar", "Add a cleanup"), m_content);
    button->setObjectName(QStringLiteral("addCleanup"));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    SymbolIcon::apply(button, QStringLiteral("plus.circle"));
    auto *menu = new QMenu(button);
    const QDate day = m_day;
    for (const QString &name : candidates) {
        QAction *entry = menu->addAction(literalTitle(name));
        entry->setData(name);
        connect(entry, &QAction::triggered, this, [this, name, day] { m_model.setCleanupDate(name, startOfDay(day)); });
    }
    button->setMenu(menu);
    return button;
}

} // namespace quorvane
