#pragma once

#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QVBoxLayout;

namespace quorvane {

// One row of a settings form: an optional symbol, the title over an optional wrapping
// subtitle, and the control at the trailing end. The control is named by the row's title
// for accessibility unless it has a name of its own. A click on the row's texts toggles a check
// box control, as a click on a check box's own label does.
class SettingRow : public QWidget {
    Q_OBJECT

public:
    SettingRow(const QString &title, const QString &subtitle, const QString &symbol, QWidget *control,
               QWidget *parent = nullptr);

    QLabel *titleLabel() const { return m_title; }
    // None when the row has no subtitle.
    QLabel *subtitleLabel() const { return m_subtitle; }
    QWidget *control() const { return m_control; }
    void setSubtitle(const QString &subtitle);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The control when it is a check box the row's texts toggle; none otherwise.
    QAbstractButton *toggledControl() const;

    QLabel *m_title;
    QLabel *m_subtitle = nullptr;
    QVBoxLayout *m_texts = nullptr;
    QWidget *m_control;
};

} // namespace quorvane
