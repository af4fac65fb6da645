#pragma once

#include <QLineEdit>

namespace quorvane {

// A field for a name that reads like a label until it is edited: as wide as its text (its
// placeholder when empty) where the row has the room, else narrower with the text cut at the
// end by an ellipsis, whole in its tool tip. Clicked or focused, it edits the whole text as a
// plain field does.
class ElidingLineEdit : public QLineEdit {
public:
    explicit ElidingLineEdit(QWidget *parent = nullptr);

    // Whether, not being edited, it shows its text cut.
    bool elided() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void tellWhole();
    QRect textRect() const;
    int widthFor(const QString &text) const;
};

} // namespace quorvane
