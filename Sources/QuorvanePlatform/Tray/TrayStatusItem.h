#pragma once

#include "Tray/StatusItem.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QImage>
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
    void setGlyphColour(const QColor &colour) override;
    // The embedding socket's background and the panel beside the icon, once the icon is docked.
    std::optional<QColor> panelColour() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<QSystemTrayIcon> m_tray;
    // One icon per image shown, by the image's cache key: an image shown again gets the icon
    // (and the scaled pixmaps Qt keeps for it) it had, instead of a new one each time.
    QHash<QPair<qint64, QRgb>, QIcon> m_icons;
    QImage m_mask;
    QColor m_glyphColour = Qt::black;
    std::function<void(const Click &)> m_onClick;
    std::function<void(const Wheel &)> m_onWheel;
};

} // namespace quorvane
