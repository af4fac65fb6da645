#include "Tray/PanelStatusItem.h"

#include "Tray/StatusPanelShade.h"

#include <QCursor>
#include <QMenu>

#include <utility>

namespace quorvane {

PanelStatusItem::PanelStatusItem(Sources sources, QObject *parent)
    : QObject(parent)
    , m_sources(std::move(sources))
{
    m_shadeAfterChange.setSingleShot(true);
    m_shadeAfterChange.setInterval(shadeAfterChangeMs);
    connect(&m_shadeAfterChange, &QTimer::timeout, this, &PanelStatusItem::refreshShade);
    statusAreasChanged();
}

PanelStatusItem::~PanelStatusItem() = default;

void PanelStatusItem::statusAreasChanged()
{
    const bool watcher = m_sources.watcherPresent && m_sources.watcherPresent();
    const bool tray = m_sources.trayPresent && m_sources.trayPresent();
    // An item a status area shows stays where it is; one that lost its status area moves to the
    // one there is.
    if (!(m_item && m_item->isAvailable())) {
        if (watcher && m_kind != Kind::notifier)
            adopt(Kind::notifier);
        else if (!watcher && tray && m_kind != Kind::tray)
            adopt(Kind::tray);
    } else if ((m_kind == Kind::notifier && watcher) || (m_kind == Kind::tray && tray)) {
        // Its status area came again (a panel restarted, perhaps with another look): the item
        // registers or docks there anew, and the panel is read again as it draws it.
        panelLookChanged();
    }
    const bool available = isAvailable();
    if (available == m_available)
        return;
    m_available = available;
    if (m_onAvailabilityChanged)
        m_onAvailabilityChanged(available);
}

void PanelStatusItem::adopt(Kind kind)
{
    m_item.reset();
    m_kind = kind;
    const auto &make = kind == Kind::notifier ? m_sources.makeNotifierItem : m_sources.makeTrayItem;
    m_item = make ? make() : nullptr;
    if (!m_item) {
        m_kind = Kind::none;
        return;
    }
    if (m_glyphColour.isValid())
        m_item->setGlyphColour(m_glyphColour);
    if (!m_image.isNull())
        m_item->setImage(m_image);
    m_item->setToolTip(m_toolTipTitle, m_toolTipText);
    m_item->setMenu(m_menu);
    m_item->setOnClick(m_onClick);
    m_item->setOnWheel(m_onWheel);
    m_item->setVisible(m_visible);
    refreshShadeSoon();
}

void PanelStatusItem::refreshShadeSoon()
{
    refreshShade();
    // A tray docks the icon, and a panel draws it, a moment after it is shown.
    for (const int ms : {500, 2000})
        QTimer::singleShot(ms, this, &PanelStatusItem::refreshShade);
}

void PanelStatusItem::panelLookChanged()
{
    for (const int ms : {500, 2000, 5000, 10000})
        QTimer::singleShot(ms, this, &PanelStatusItem::refreshShade);
}

void PanelStatusItem::refreshShade()
{
    m_sinceShade.start();
    const std::optional<QColor> panel = m_item ? m_item->panelColour() : std::nullopt;
    const QColor colour = panel ? statusGlyphColourOn(*panel) : QColor();
    if (colour.isValid()) {
        showGlyphColour(colour);
        return;
    }
    // The panel's pixels can't be read: the theme's last word now, and its new one once told
    // (asked once the item is shown: the question may take child processes, which would hold up
    // the start before the icon docks).
    showGlyphColour(m_themeColour.isValid() ? m_themeColour : statusGlyphColour(false));
    if (m_visible)
        askTheme();
}

void PanelStatusItem::showGlyphColour(const QColor &colour)
{
    m_glyphColour = colour;
    if (m_item)
        m_item->setGlyphColour(colour);
}

void PanelStatusItem::askTheme()
{
    if (!m_sources.themeGlyphColour)
        return;
    if (m_themeAsked) {
        m_themeAgain = true;
        return;
    }
    m_themeAsked = true;
    m_sources.themeGlyphColour([weak = QPointer<PanelStatusItem>(this)](const QColor &colour) {
        if (weak)
            weak->themeAnswered(colour);
    });
}

void PanelStatusItem::themeAnswered(const QColor &colour)
{
    m_themeAsked = false;
    if (colour.isValid())
        m_themeColour = colour;
    // The panel's own pixels, once readable again, have the last word.
    if (m_themeColour.isValid() && !(m_item && m_item->panelColour()))
        showGlyphColour(m_themeColour);
    if (std::exchange(m_themeAgain, false))
        askTheme();
}

std::optional<QColor> PanelStatusItem::panelColour() const
{
    return m_item ? m_item->panelColour() : std::nullopt;
}

bool PanelStatusItem::isAvailable() const
{
    return m_item && m_item->isAvailable();
}

void PanelStatusItem::setVisible(bool visible)
{
    m_visible = visible;
    if (m_item) {
        m_item->setVisible(visible);
        if (visible)
            refreshShadeSoon();
    }
    if (visible && m_sources.watchAreas) {
        QMetaObject::invokeMethod(
            this,
            [this, watch = std::exchange(m_sources.watchAreas, {})] {
                watch(*this);
                if (!isAvailable())
                    statusAreasChanged();
            },
            Qt::QueuedConnection);
    }
}

void PanelStatusItem::setImage(const QImage &image)
{
    m_image = image;
    if (!m_item)
        return;
    // A switch may have changed the panel (a desktop with its own look): it is read again before
    // the glyph changes, at most once in a while.
    if (!m_sinceShade.isValid() || m_sinceShade.elapsed() >= shadeIntervalMs)
        refreshShade();
    m_item->setImage(image);
}

void PanelStatusItem::setToolTip(const QString &title, const QString &text)
{
    if (m_item && (title != m_toolTipTitle || text != m_toolTipText))
        m_shadeAfterChange.start();
    m_toolTipTitle = title;
    m_toolTipText = text;
    if (m_item)
        m_item->setToolTip(title, text);
}

void PanelStatusItem::setMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_item)
        m_item->setMenu(menu);
}

void PanelStatusItem::setOnClick(std::function<void(const Click &)> onClick)
{
    m_onClick = std::move(onClick);
    if (m_item)
        m_item->setOnClick(m_onClick);
}

void PanelStatusItem::setOnWheel(std::function<void(const Wheel &)> onWheel)
{
    m_onWheel = std::move(onWheel);
    if (m_item)
        m_item->setOnWheel(m_onWheel);
}

void PanelStatusItem::popUpMenu(QMenu &menu)
{
    if (m_item)
        m_item->popUpMenu(menu);
    else
        menu.exec(QCursor::pos());
}

void PanelStatusItem::setOnAvailabilityChanged(std::function<void(bool available)> changed)
{
    m_onAvailabilityChanged = std::move(changed);
}

} // namespace quorvane
