#pragma once

#include "Tray/StatusItem.h"
#include "Tray/StatusNotifierTypes.h"

#include <QColor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <memory>
#include <optional>

class QDBusServiceWatcher;

namespace quorvane {

class DBusMenuExporter;

// The status item as an org.kde.StatusNotifierItem on the session bus, registered with the
// status area's watcher (again whenever a watcher appears), its menu exported beside it for the
// status area to draw. Calls from the status area are answered at once; what they ask for runs
// afterwards, so a menu or a switch never keeps the status area waiting.
class StatusNotifierItem final : public QObject, public StatusItem {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category CONSTANT)
    Q_PROPERTY(QString Id READ id CONSTANT)
    Q_PROPERTY(QString Title READ title CONSTANT)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId CONSTANT)
    Q_PROPERTY(QString IconThemePath READ iconThemePath)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(QList<quorvane::StatusIconPixmap> IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyString CONSTANT)
    Q_PROPERTY(QList<quorvane::StatusIconPixmap> OverlayIconPixmap READ noPixmaps CONSTANT)
    Q_PROPERTY(QString AttentionIconName READ emptyString CONSTANT)
    Q_PROPERTY(QList<quorvane::StatusIconPixmap> AttentionIconPixmap READ noPixmaps CONSTANT)
    Q_PROPERTY(QString AttentionMovieName READ emptyString CONSTANT)
    Q_PROPERTY(quorvane::StatusToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT)
    Q_PROPERTY(QDBusObjectPath Menu READ menuPath CONSTANT)

public:
    static constexpr const char *watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char *itemPath = "/StatusNotifierItem";
    static constexpr const char *menuObjectPath = "/MenuBar";
    // The shortest time between two icon changes announced on the bus (an animation's frames
    // come faster than a status area redraws them).
    static constexpr int iconAnnouncementMs = 40;

    StatusNotifierItem(const QString &id, const QString &title, QDBusConnection bus = QDBusConnection::sessionBus());
    ~StatusNotifierItem() override;

    // Whether a status area's watcher is on the bus now.
    static bool watcherPresent(const QDBusConnection &bus = QDBusConnection::sessionBus());
    // The wheel's steps of a Scroll call, up positive, as the XEmbed icon's wheel gives them.
    // Hosts drawn with Qt (Plasma's) send Qt's wheel angle: positive up, 120 a notch; hosts drawn
    // with GTK (XFCE's, Cinnamon's) send GTK's steps: positive down, 1 a notch. qtHost: the
    // session's status area is Plasma's.
    static double wheelSteps(int delta, bool qtHost);

    // The colour the glyph is drawn in: light on a dark panel, dark on a light one. The glyph
    // shown is drawn again in the new colour.
    void setGlyphColour(const QColor &colour) override;
    std::optional<QColor> panelColour() const override;
    QString serviceName() const { return m_serviceName; }
    // Offers the icon name (found in the icon theme folder themePath) while the image shown is
    // depicts, for status areas that draw a named symbolic icon in their own colours.
    void setNamedIcon(const QString &name, const QString &themePath, const QImage &depicts);

    struct ScreenArea {
        QRect geometry;
        QRect available; // without the panels' reserved edges
    };
    // Whether a point a status area passes with a click is where its panel is: on a screen and,
    // on a screen with reserved edges, on one of them. Status areas that know no position pass
    // 0 for it.
    static bool isPanelPosition(const QPoint &point, const QList<ScreenArea> &screens);

    bool isAvailable() const override;
    void setVisible(bool visible) override;
    void setImage(const QImage &image) override;
    void setToolTip(const QString &title, const QString &text) override;
    void setMenu(QMenu *menu) override;
    void setOnClick(std::function<void(const Click &)> onClick) override;
    void setOnWheel(std::function<void(const Wheel &)> onWheel) override;
    void popUpMenu(QMenu &menu) override;

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return m_id; }
    QString title() const { return m_title; }
    QString status() const { return m_visible ? QStringLiteral("Active") : QStringLiteral("Passive"); }
    int windowId() const { return 0; }
    QString emptyString() const { return {}; }
    QString iconThemePath() const { return m_namedIconShown ? m_iconThemePath : QString(); }
    QString iconName() const { return m_namedIconShown ? m_iconName : QString(); }
    QList<StatusIconPixmap> iconPixmap() const { return m_pixmaps; }
    QList<StatusIconPixmap> noPixmaps() const { return {}; }
    StatusToolTip toolTip() const { return m_toolTip; }
    // A plain left click opens the menu, as a right click does.
    bool itemIsMenu() const { return true; }
    QDBusObjectPath menuPath() const { return QDBusObjectPath(QString::fromLatin1(menuObjectPath)); }

public Q_SLOTS:
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    Q_SCRIPTABLE void Activate(int x, int y);
    Q_SCRIPTABLE void SecondaryActivate(int x, int y);
    Q_SCRIPTABLE void Scroll(int delta, const QString &orientation);

Q_SIGNALS:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewAttentionIcon();
    Q_SCRIPTABLE void NewOverlayIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString &status);

private:
    void registerWithWatcher();
    void click(Button button, int x, int y);
    void announceIcon();

    QDBusConnection m_bus;
    QString m_id;
    QString m_title;
    QString m_serviceName;
    std::unique_ptr<DBusMenuExporter> m_menu;
    QDBusServiceWatcher *m_watcher = nullptr;
    bool m_watcherPresent = false;
    bool m_visible = false;
    QColor m_glyphColour = Qt::black;
    QImage m_image;
    QList<StatusIconPixmap> m_pixmaps;
    QList<StatusIconPixmap> m_announcedPixmaps;
    QTimer m_iconTimer;
    bool m_iconPending = false;
    StatusToolTip m_toolTip;
    std::optional<QPoint> m_clickPoint;
    std::optional<QPoint> m_panelPoint; // the last position on a panel a click came with
    QString m_iconName;
    QString m_iconThemePath;
    QImage m_namedImage;
    bool m_namedIconShown = false;
    std::function<void(const Click &)> m_onClick;
    std::function<void(const Wheel &)> m_onWheel;
};

} // namespace quorvane
