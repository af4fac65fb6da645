#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QScrollArea;

namespace quorvane {

// The detail column: a bold title with an optional trailing view over the content, which
// scrolls when taller than the pane.
class DetailPane : public QWidget {
    Q_OBJECT

public:
    explicit DetailPane(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;
    // The pane owns the content and the trailing view; setting one deletes the one before (a
    // content once the new one has been painted, so that the new one shows first).
    void setContent(QWidget *content);
    void setTrailing(QWidget *trailing);
    QWidget *content() const { return m_content; }
    QWidget *trailing() const { return m_trailing; }

    ~DetailPane() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deleteRetired();

    QLabel *m_title;
    QHBoxLayout *m_header;
    QScrollArea *m_scroll;
    QWidget *m_content = nullptr;
    QWidget *m_trailing = nullptr;
    // Contents replaced but not deleted yet.
    QList<QPointer<QWidget>> m_retired;
};

} // namespace quorvane
