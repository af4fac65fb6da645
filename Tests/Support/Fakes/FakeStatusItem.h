#pragma once

#include "Tray/StatusItem.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace quorvane::test {

// A status item that records what it is given; tests send clicks and wheel events through it.
class FakeStatusItem final : public StatusItem {
public:
    bool available = true;
    bool visible = false;
    std::vector<QImage> images;
    QString toolTipTitle;
    QString toolTipText;
    QMenu *menu = nullptr;
    // Titles of the menus popped up, in order, and what each popup should do while open.
    QStringList poppedUpMenus;
    std::function<void(QMenu &)> whileMenuOpen;

    bool isAvailable() const override { return available; }
    void setVisible(bool v) override { visible = v; }
    void setImage(const QImage &image) override { images.push_back(image); }
    void setToolTip(const QString &title, const QString &text) override
    {
        toolTipTitle = title;
        toolTipText = text;
    }
    void setMenu(QMenu *m) override { menu = m; }
    void setOnClick(std::function<void(const Click &)> onClick) override { m_onClick = std::move(onClick); }
    void setOnWheel(std::function<void(const Wheel &)> onWheel) override { m_onWheel = std::move(onWheel); }
    void popUpMenu(QMenu &menu) override;
    void setOnAvailabilityChanged(std::function<void(bool)> changed) override { m_onAvailability = std::move(changed); }

    // A status area appears or goes away.
    void setAvailable(bool a)
    {
        available = a;
        if (m_onAvailability)
            m_onAvailability(a);
    }

    void click(Button button, Qt::KeyboardModifiers modifiers = {});
    void wheel(const Wheel &event);

private:
    std::function<void(const Click &)> m_onClick;
    std::function<void(const Wheel &)> m_onWheel;
    std::function<void(bool)> m_onAvailability;
};

} // namespace quorvane::test
