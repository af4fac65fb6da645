#pragma once

#include <QLabel>

namespace quorvane {

// A label in its parent's text colour at a lower opacity (the secondary and tertiary texts), but
// never fainter than 4.5:1 on the window, following the parent when the window's look changes.
class FadedLabel : public QLabel {
public:
    FadedLabel(const QString &text, qreal opacity, qreal fontScale, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fade();

    qreal m_opacity;
    bool m_fading = false;
};

} // namespace quorvane
