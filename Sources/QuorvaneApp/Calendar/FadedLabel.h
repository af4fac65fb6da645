#pragma once

#include <QLabel>

namespace quorvane {

// A label in its parent's text colour at a lower opacity (the secondary and tertiary texts), but
// never fainter than 4.5:1 on the window, following the parent when the window's look changes.
class FadedLabel : public QLabel {
public:
    // The contrast its colour is given, so that the drawn text reads at least 4.5:1.
    static constexpr qreal aimedRatio = 5.2;

    FadedLabel(const QString &text, qreal opacity, qreal fontScale, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fade();

    qreal m_opacity;
    bool m_fading = false;
};

} // namespace quorvane
