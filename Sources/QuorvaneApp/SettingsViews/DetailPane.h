#pragma once

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
    // The pane owns the content and the trailing view; setting one deletes the one before.
    void setContent(QWidget *content);
    void setTrailing(QWidget *trailing);
    QWidget *content() const { return m_content; }
    QWidget *trailing() const { return m_trailing; }

private:
    QLabel *m_title;
    QHBoxLayout *m_header;
    QScrollArea *m_scroll;
    QWidget *m_content = nullptr;
    QWidget *m_trailing = nullptr;
};

} // namespace quorvane
