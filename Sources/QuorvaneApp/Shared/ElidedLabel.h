#pragma once

#include <QLabel>

namespace quorvane {

// A one-line label for a name: shown whole where it fits, else cut at the end with an ellipsis
// ("Photo Projects for t…") and whole in its tool tip. It asks for its text's width and gives
// way down to a few characters, so a row lays itself out by what it holds. Plain text only.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(const QString &text = {}, QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_full; }
    // Whether the text shown is cut.
    bool elided() const { return text() != m_full; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void elide();

    QString m_full;
};

} // namespace quorvane
