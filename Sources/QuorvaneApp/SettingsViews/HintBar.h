#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QToolButton;

namespace quorvane {

// A dismissible hint on a faint rounded background, the dismiss cross in its top-trailing
// corner.
class HintBar : public QWidget {
    Q_OBJECT

public:
    HintBar(const QString &symbol, const QString &text, const QString &dismissHelp, std::function<void()> onDismiss,
            QWidget *parent = nullptr);
    QToolButton *dismissButton() const { return m_dismiss; }

    // "Click to select, drag to reorder".
    static HintBar *deskList(std::function<void()> onDismiss, QWidget *parent = nullptr);
    // The temporary desktop's explanation of moving its files.
    static HintBar *move(std::function<void()> onDismiss, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *m_dismiss;
};

} // namespace quorvane
