#pragma once

#include <QWidget>

#include <functional>

class QPushButton;

namespace quorvane {

// The warning shown before Space following is turned on: following can make the screen flash.
// "Cancel" (Escape) runs onCancel, "Enable" (Return, the default) runs onEnable.
class EpilepsyWarningSheet : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 430;
    static constexpr int height = 320;

    EpilepsyWarningSheet(std::function<void()> onCancel, std::function<void()> onEnable, QWidget *parent = nullptr);

    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *enableButton() const { return m_enable; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::function<void()> m_onCancel;
    std::function<void()> m_onEnable;
    QPushButton *m_cancel;
    QPushButton *m_enable;
};

} // namespace quorvane
