#include "SettingsViews/GradualRows.h"

#include <QEvent>
#include <QTimer>

namespace quorvane {

GradualRows::GradualRows(QWidget *page, std::function<void()> refresh)
    : QObject(page)
    , m_page(page)
    , m_refresh(std::move(refresh))
{
    page->installEventFilter(this);
}

void GradualRows::wanted(int rows)
{
    m_wanted = rows;
    if (finished())
        return;
    if (rows <= m_allowance) {
        // Everything fits: later refreshes need no allowance either.
        m_allowance = unlimited;
        m_page->removeEventFilter(this);
        emit completed();
        return;
    }
    if (m_painted)
        scheduleStep();
}

void GradualRows::finish()
{
    if (finished())
        return;
    m_allowance = unlimited;
    m_page->removeEventFilter(this);
    m_refresh();
    emit completed();
}

bool GradualRows::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // The rest once this paint is on the screen.
        if (m_wanted > m_allowance)
            scheduleStep();
    }
    return QObject::eventFilter(watched, event);
}

void GradualRows::scheduleStep()
{
    if (m_stepPending)
        return;
    m_stepPending = true;
    QTimer::singleShot(0, this, &GradualRows::step);
}

void GradualRows::step()
{
    m_stepPending = false;
    if (finished())
        return;
    if (m_wanted <= m_allowance + batchRows) {
        finish();
        return;
    }
    m_allowance += batchRows;
    m_refresh(); // tells wanted(), which schedules the next batch
}

} // namespace quorvane
