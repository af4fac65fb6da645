#include "SettingsViews/CleanupLedgerRow.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/ColorSwatch.h"
#include "Shared/ElidedLabel.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>
#include <QToolButton>

namespace quorvane {

CleanupLedgerRow::CleanupLedgerRow(const SettingsContext &context, const QString &name, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_name(name)
    , m_swatch(new ColorSwatch(QColor(), 12, false, this))
    , m_overdue(new QLabel(tr("overdue"), this))
    , m_date(new QDateEdit(this))
    , m_remove(new QToolButton(this))
{
    setAccessibleName(name);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(8);
    row->addWidget(m_swatch);
    auto *title = new ElidedLabel(name, this);
    title->setTextFormat(Qt::PlainText);
    row->addWidget(title);
    row->addSpacing(12);
    row->addStretch(1);

    QFont caption = m_overdue->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    caption.setWeight(QFont::DemiBold);
    m_overdue->setFont(caption);
    Style::setStatusTone(m_overdue, StatusTone::error);
    row->addWidget(m_overdue);

    m_date->setAccessibleName(tr("Cleanup date of %1").arg(name));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    // A typed date is taken once it is complete, not at every digit.
    m_date->setKeyboardTracking(false);
    m_date->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_date, &QDateEdit::dateChanged, this,
            [this](QDate day) { m_context.model.setCleanupDate(m_name, startOf(day)); });
    row->addWidget(m_date);

    SymbolIcon::apply(m_remove, QStringLiteral("xmark.circle.fill"));
    m_remove->setAutoRaise(true);
    m_remove->setIconSize({13, 13});
    m_remove->setToolTip(tr("Remove this reminder"));
    m_remove->setAccessibleName(tr("Remove the reminder of %1").arg(name));
    connect(m_remove, &QToolButton::clicked, this, [this] { m_context.model.removeCleanup(m_name); });
    row->addWidget(m_remove);
}

QDate CleanupLedgerRow::localDay(Date date) { return toDateTime(date).toLocalTime().date(); }

Date CleanupLedgerRow::startOf(QDate day) { return fromDateTime(day.startOfDay()); }

void CleanupLedgerRow::update(const QColor &color, Date date, QDate today)
{
    m_swatch->setColor(color);
    m_overdue->setVisible(date < startOf(today));
    const QDate day = localDay(date);
    const QSignalBlocker blocker(m_date);
    // The earliest day offered is today, or the entry's own day when that has passed.
    m_date->setMinimumDate(std::min(today, day));
    if (m_date->date() != day)
        m_date->setDate(day);
}

} // namespace quorvane
