#include "Tray/StatusNotifierItem.h"

#include "Tray/DBusMenuExporter.h"
#include "Tray/PanelPixels.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace quorvane {

namespace {

Q_LOGGING_CATEGORY(statusLog, "quorvane.status")

// The glyph keeps its shape and takes the colour chosen for the panel.
QImage tinted(const QImage &image, const QColor &colour)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), colour);
    return result;
}

// The sizes status areas draw at, besides the image's own.
constexpr int offeredSides[] = {22, 16};

} // namespace

StatusNotifierItem::StatusNotifierItem(const QString &id, const QString &title, QDBusConnection bus)
    : m_bus(std::move(bus))
    , m_id(id)
    , m_title(title)
    , m_menu(std::make_unique<DBusMenuExporter>())
{
    registerStatusNotifierTypes();
    static int counter = 0;
    m_serviceName = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    m_toolTip.title = title;

    m_iconTimer.setSingleShot(true);
    m_iconTimer.setInterval(iconAnnouncementMs);
    connect(&m_iconTimer, &QTimer::timeout, this, [this] {
        if (std::exchange(m_iconPending, false))
            announceIcon();
    });

    if (!m_bus.isConnected())
        return;
    m_bus.registerObject(QString::fromLatin1(itemPath), this, QDBusConnection::ExportScriptableContents | QDBusConnection::ExportAllProperties);
    m_bus.registerObject(QString::fromLatin1(menuObjectPath), m_menu.get(),
                         QDBusConnection::ExportScriptableContents | QDBusConnection::ExportAllProperties);
    m_bus.registerService(m_serviceName);

    // A status area that starts (or restarts) later finds the item when its watcher appears.
    m_watcher = new QDBusServiceWatcher(QString::fromLatin1(watcherService), m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                m_watcherPresent = !newOwner.isEmpty();
                if (m_watcherPresent)
                    registerWithWatcher();
            });
    m_watcherPresent = watcherPresent(m_bus);
    if (m_watcherPresent)
        registerWithWatcher();
}

StatusNotifierItem::~StatusNotifierItem()
{
    if (!m_bus.isConnected())
        return;
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(QString::fromLatin1(menuObjectPath));
    m_bus.unregisterObject(QString::fromLatin1(itemPath));
}

bool StatusNotifierItem::watcherPresent(const QDBusConnection &bus)
{
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(QString::fromLatin1(watcherService));
}

void StatusNotifierItem::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(watcherService), QStringLiteral("/StatusNotifierWatcher"),
                                                       QString::fromLatin1(watcherService), QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    auto *pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher *watcher) {
        if (watcher->isError())
            qCWarning(statusLog) << "the status area's watcher refused the status item:" << watcher->error().message();
        else
            qCInfo(statusLog) << "status item registered with the status area's watcher";
        watcher->deleteLater();
    });
}

bool StatusNotifierItem::isAvailable() const
{
    return m_watcherPresent;
}

void StatusNotifierItem::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    Q_EMIT NewStatus(status());
}

void StatusNotifierItem::setGlyphColour(const QColor &colour)
{
    if (colour == m_glyphColour)
        return;
    m_glyphColour = colour;
    if (!m_image.isNull())
        setImage(m_image);
}

std::optional<QColor> StatusNotifierItem::panelColour() const
{
    return panel_pixels::dockColour(m_panelPoint);
}

void StatusNotifierItem::setNamedIcon(const QString &name, const QString &themePath, const QImage &depicts)
{
    m_iconName = name;
    m_iconThemePath = themePath;
    m_namedImage = depicts;
    if (!m_image.isNull())
        setImage(m_image);
}

bool StatusNotifierItem::isPanelPosition(const QPoint &point, const QList<ScreenArea> &screens)
{
    if (point.x() <= 0 || point.y() <= 0)
        return false;
    for (const ScreenArea &screen : screens) {
        if (!screen.geometry.contains(point))
            continue;
        return screen.available == screen.geometry || !screen.available.contains(point);
    }
    return false;
}

void StatusNotifierItem::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    m_image = image;
    // A status area that has the name draws it and nothing else: only the glyph it depicts goes
    // by name, an animation's frames as pictures.
    const bool named = !m_iconName.isEmpty() && image == m_namedImage;
    if (named != m_namedIconShown) {
        m_namedIconShown = named;
        m_announcedPixmaps.clear();
    }
    const QImage glyph = tinted(image, m_glyphColour);
    QList<StatusIconPixmap> pixmaps{StatusIconPixmap::fromImage(glyph)};
    for (const int side : offeredSides) {
        if (side < glyph.width())
            pixmaps.append(StatusIconPixmap::fromImage(glyph.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    m_pixmaps = std::move(pixmaps);
    // The first change goes out at once; the frames of an animation at most once per interval,
    // the last of them always.
    if (m_iconTimer.isActive()) {
        m_iconPending = true;
        return;
    }
    announceIcon();
    m_iconTimer.start();
}

void StatusNotifierItem::announceIcon()
{
    if (m_pixmaps == m_announcedPixmaps)
        return;
    m_announcedPixmaps = m_pixmaps;
    Q_EMIT NewIcon();
}

void StatusNotifierItem::setToolTip(const QString &title, const QString &text)
{
    // Status areas read markup in a tool tip's text: a desktop named "<b>Bold</b>" or "A & B"
    // goes escaped, so that it reads as written.
    const QString escaped = text.toHtmlEscaped();
    if (m_toolTip.title == title && m_toolTip.text == escaped)
        return;
    m_toolTip.title = title;
    m_toolTip.text = escaped;
    Q_EMIT NewToolTip();
}

void StatusNotifierItem::setMenu(QMenu *menu)
{
    m_menu->setMenu(menu);
}

void StatusNotifierItem::setOnClick(std::function<void(const Click &)> onClick)
{
    m_onClick = std::move(onClick);
}

void StatusNotifierItem::setOnWheel(std::function<void(const Wheel &)> onWheel)
{
    m_onWheel = std::move(onWheel);
}

void StatusNotifierItem::popUpMenu(QMenu &menu)
{
    const QPoint at = m_clickPoint.value_or(QCursor::pos());
    m_clickPoint.reset();
    menu.exec(at);
}

void StatusNotifierItem::click(Button button, int x, int y)
{
    // The reply leaves first: a menu opened from the click runs in its own event loop.
    QTimer::singleShot(0, this, [this, button, x, y] {
        if (!m_onClick)
            return;
        // A point that is no place on a panel (0, off every screen, amid a screen's windows)
        // would open the menu far from the icon: it opens at the pointer then.
        QList<ScreenArea> screens;
        for (const QScreen *screen : QGuiApplication::screens())
            screens.append({screen->geometry(), screen->availableGeometry()});
        if (isPanelPosition(QPoint(x, y), screens)) {
            m_clickPoint = QPoint(x, y);
            m_panelPoint = m_clickPoint;
        } else {
            m_clickPoint.reset();
        }
        m_onClick(Click{button, {}});
    });
}

void StatusNotifierItem::ContextMenu(int x, int y)
{
    click(Button::right, x, y);
}

void StatusNotifierItem::Activate(int x, int y)
{
    click(Button::left, x, y);
}

void StatusNotifierItem::SecondaryActivate(int x, int y)
{
    click(Button::middle, x, y);
}

double StatusNotifierItem::wheelSteps(int delta, bool qtHost)
{
    // A whole notch of Qt's angle (120) comes only from a Qt host, whatever the session.
    if (qtHost || (delta != 0 && delta % 120 == 0))
        return delta / 120.0;
    return -double(delta);
}

void StatusNotifierItem::Scroll(int delta, const QString &orientation)
{
    if (delta == 0 || orientation.compare(QLatin1String("vertical"), Qt::CaseInsensitive) != 0)
        return;
    // One direction means one way on every status area.
    static const bool plasma = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).contains(QLatin1String("KDE"), Qt::CaseInsensitive);
    Wheel wheel;
    wheel.deltaY = wheelSteps(delta, plasma);
    QTimer::singleShot(0, this, [this, wheel] {
        if (m_onWheel)
            m_onWheel(wheel);
    });
}

} // namespace quorvane
