#pragma once

#include "StatusItem.h"

#include <QHash>
#include <QIcon>
#include <QObject>

#include <memory>

class QSystemTrayIcon;

namespace quorvane {

// The status item as a system tray icon.
class TrayStatusItem final : public QObject, public StatusItem {
    Q_OBJECT
public:
    TrayStatusItem();
    ~TrayStatusItem() override;

    bool isAvailable() const override;
    void setVisible(bool visible) override;
    void setImage(const QImage &image) override;
    void setToolTip(const QString &title, const QString &text) override;
    void setMenu(QMenu *) override {} // the tray opens the menu through the click
    void setOnClick(std::function<void(const Click &)> onClick) override;
    void setOnWheel(std::function<void(const Wheel &)> onWheel) override;
    void popUpMenu(QMenu &menu) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<QSystemTrayIcon> m_tray;
    // One icon per image shown, by the image's cache key: an image shown again gets the icon
    // (and the scaled pixmaps Qt keeps for it) it had, instead of a new one each time.
    QHash<qint64, QIcon> m_icons;
    std::function<void(const Click &)> m_onClick;
    std::function<void(const Wheel &)> m_onWheel;
};

} // namespace quorvane
