#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <limits>

namespace quorvane {

// Lets a long page show its first rows at once and build the rest right after: the page's
// refresh asks how many rows it may have built in all (counted in the page's own order, top
// to bottom) and says how many it has. Once the page has been painted the allowance grows by a
// batch at each turn of the event loop, the page refreshing each time, until every row is
// there; from then on every refresh builds all it needs. So a page of hundreds of rows paints
// as soon as one of a screenful would, and nothing it shows is left out for longer than the
// few turns the rest takes.
class GradualRows : public QObject {
    Q_OBJECT

public:
    static constexpr int firstRows = 16;
    static constexpr int batchRows = 24;
    static constexpr int unlimited = std::numeric_limits<int>::max();

    // refresh: the page's own, run again at each batch.
    GradualRows(QWidget *page, std::function<void()> refresh);

    // How many rows a refresh may have built in all.
    int allowance() const { return m_allowance; }
    // Told by each refresh: how many rows it would show without the allowance.
    void wanted(int rows);
    // Builds every row now (before a drag that moves them, or a test that reads them all).
    void finish();
    bool finished() const { return m_allowance == unlimited; }

signals:
    // Every row is built: the page may put its keyboard order right once more.
    void completed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleStep();
    void step();

    QPointer<QWidget> m_page;
    std::function<void()> m_refresh;
    int m_allowance = firstRows;
    int m_wanted = 0;
    bool m_painted = false;
    bool m_stepPending = false;
};

} // namespace quorvane
