#include "SettingsViews/SettingRow.h"

#include "Shared/FocusRing.h"
#include "Shared/SymbolIcon.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace quorvane {

SettingRow::SettingRow(const QString &title, const QString &subtitle, const QString &symbol, QWidget *control,
                       QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(title, this))
    , m_control(control)
{
    setAccessibleName(title);
    auto *row = new QHBoxLayout(this);
    // The focus ring stands around a check box inside the row, so the row leaves room for it
    // beside the box at its end.
    row->setContentsMargins(0, 3, qobject_cast<QCheckBox *>(control) ? FocusRing::width : 0, 3);
    row->setSpacing(12);
    if (!symbol.isEmpty()) {
        QLabel *icon = SymbolIcon::label(symbol, 18, this);
        icon->setFixedWidth(24);
        icon->setAlignment(Qt::AlignCenter);
        row->addWidget(icon);
    }
    m_texts = new QVBoxLayout;
    m_texts->setSpacing(2);
    m_title->setTextFormat(Qt::PlainText);
    m_texts->addWidget(m_title);
    row->addLayout(m_texts, 1);
    if (!subtitle.isEmpty())
        setSubtitle(subtitle);
    if (m_control) {
        if (m_control->accessibleName().isEmpty())
            m_control->setAccessibleName(title);
        row->addWidget(m_control, 0, Qt::AlignVCenter);
    }
}

QAbstractButton *SettingRow::toggledControl() const
{
    auto *box = qobject_cast<QCheckBox *>(m_control);
    return box && box->isEnabled() && box->isVisible() ? box : nullptr;
}

void SettingRow::mousePressEvent(QMouseEvent *event)
{
    // The labels take no clicks of their own: a press on them or between them arrives here.
    if (event->button() == Qt::LeftButton && toggledControl()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SettingRow::mouseReleaseEvent(QMouseEvent *event)
{
    QAbstractButton *box = toggledControl();
    if (event->button() == Qt::LeftButton && box && rect().contains(event->position().toPoint())) {
        event->accept();
        box->setFocus(Qt::MouseFocusReason);
        box->click();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void SettingRow::setSubtitle(const QString &subtitle)
{
    if (!m_subtitle) {
        m_subtitle = new QLabel(this);
        m_subtitle->setTextFormat(Qt::PlainText);
        m_subtitle->setWordWrap(true);
        m_subtitle->setForegroundRole(QPalette::PlaceholderText);
        QFont font = m_subtitle->font();
        font.setPointSizeF(font.pointSizeF() * 0.92);
        m_subtitle->setFont(font);
        m_texts->addWidget(m_subtitle);
    }
    m_subtitle->setText(subtitle);
}

} // namespace quorvane
