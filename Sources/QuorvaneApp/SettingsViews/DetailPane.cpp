#include "SettingsViews/DetailPane.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

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

DetailPane::~DetailPane() { deleteRetired(); }

void DetailPane::setContent(QWidget *content)
{
    if (QWidget *old = m_scroll->takeWidget()) {
        // Taking a page of many rows apart takes a while: only once the new one is on the screen.
        old->hide();
        m_retired << old;
    }
    if (m_content && m_content != content)
        m_content->removeEventFilter(this);
    m_content = content;
    if (content) {
        m_scroll->setWidget(content);
        if (!m_retired.isEmpty())
            content->installEventFilter(this);
    }
    if (!content || !isVisible())
        deleteRetired();
}

bool DetailPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::Paint) {
        m_content->removeEventFilter(this);
        QTimer::singleShot(0, this, &DetailPane::deleteRetired);
    }
    return QWidget::eventFilter(watched, event);
}

void DetailPane::deleteRetired()
{
    const QList<QPointer<QWidget>> retired = std::exchange(m_retired, {});
    for (const QPointer<QWidget> &old : retired)
        delete old.data();
}

void DetailPane::setTrailing(QWidget *trailing)
{
    delete m_trailing;
    m_trailing = trailing;
    if (trailing)
        m_header->addWidget(trailing);
}

} // namespace quorvane
