#include "Calendar/FormGroup.h"

#include "Shared/Style.h"

#include <QPainter>
#include <QVBoxLayout>

namespace quorvane {

FormGroup::FormGroup(QWidget *parent)
    : QFrame(parent)
    , m_rows(new QVBoxLayout(this))
{
    m_rows->setContentsMargins(12, 8, 12, 8);
    m_rows->setSpacing(8);
}

void FormGroup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::Base);
    fill.setAlphaF(0.55f);
    painter.setPen(QPen(Style::separatorColor(palette()), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

} // namespace quorvane
