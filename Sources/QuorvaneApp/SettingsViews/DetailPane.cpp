#include "SettingsViews/DetailPane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quorvane {

DetailPane::DetailPane(QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_header(new QHBoxLayout)
    , m_scroll(new QScrollArea(this))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_header->setContentsMargins(20, 10, 20, 2);
    QFont font = m_title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    m_title->setFont(font);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setObjectName(QStringLiteral("detailTitle"));
    m_header->addWidget(m_title);
    m_header->addStretch(1);
    column->addLayout(m_header);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    column->addWidget(m_scroll, 1);
}

void DetailPane::setTitle(const QString &title) { m_title->setText(title); }

QString DetailPane::title() const { return m_title->text(); }

void DetailPane::setContent(QWidget *content)
{
    if (QWidget *old = m_scroll->takeWidget())
        delete old;
    m_content = content;
    if (content)
        m_scroll->setWidget(content);
}

void DetailPane::setTrailing(QWidget *trailing)
{
    delete m_trailing;
    m_trailing = trailing;
    if (trailing)
        m_header->addWidget(trailing);
}

} // namespace quorvane
