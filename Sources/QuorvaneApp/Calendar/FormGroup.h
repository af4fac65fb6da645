#pragma once

#include <QFrame>

class QVBoxLayout;

namespace quorvane {

// One grouped section of a form: its rows on a faint rounded panel, one above the other.
class FormGroup : public QFrame {
public:
    explicit FormGroup(QWidget *parent = nullptr);
    QVBoxLayout *rows() const { return m_rows; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_rows;
};

} // namespace quorvane
