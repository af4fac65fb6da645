#include "Tray/PanelPixels.h"

#include "Tray/StatusPanelShade.h"
#include "Windows/X11Connection.h"

#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cstdlib>

namespace quorvane::panel_pixels {

namespace {

// The pixels of the screen at area (screen coordinates), as they are drawn.
QImage grab(const QRect &area)
{
    if (!x11::connection() || area.isEmpty())
        return {};
    QScreen *screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect clipped = area & screen->virtualGeometry();
    if (clipped.isEmpty())
        return {};
    // Window 0 is the root window: what every window on it shows.
    return screen->grabWindow(0, clipped.x(), clipped.y(), clipped.width(), clipped.height()).toImage();
}

// Whether the window is a dock (a panel), from the answer to its window-type request.
bool isDock(xcb_get_property_reply_t *reply)
{
    const xcb_atom_t dock = x11::atom("_NET_WM_WINDOW_TYPE_DOCK");
    bool found = false;
    if (reply && reply->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < count && !found; ++i)
            found = atoms[i] == dock;
    }
    std::free(reply);
    return found;
}

std::optional<QRect> viewableArea(xcb_connection_t *c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (!viewable)
        return std::nullopt;
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry)
        return std::nullopt;
    const QSize size(geometry->width, geometry->height);
    std::free(geometry);
    xcb_translate_coordinates_reply_t *origin = xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, x11::rootWindow(), 0, 0), nullptr);
    if (!origin)
        return std::nullopt;
    const QRect area(QPoint(origin->dst_x, origin->dst_y), size);
    std::free(origin);
    return area;
}

} // namespace

std::optional<QColor> colourAround(const QRect &iconArea)
{
    if (!iconArea.isValid())
        return std::nullopt;
    const QRect area = iconArea.adjusted(-2, 0, 2, 0);
    QImage pixels = grab(area).convertToFormat(QImage::Format_ARGB32);
    if (pixels.isNull())
        return std::nullopt;
    // The glyph sits in the middle rows of the icon: only the rows above and below it and the
    // strips beside the icon count.
    const int band = iconArea.height() * 3 / 10;
    QPainter painter(&pixels);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(QRect(2, band, iconArea.width(), iconArea.height() - 2 * band), Qt::transparent);
    painter.end();
    const QColor colour = dominantColour(pixels);
    return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
}

QList<QRect> dockAreas()
{
    QList<QRect> areas;
    xcb_connection_t *c = x11::connection();
    const xcb_window_t root = x11::rootWindow();
    if (!c || !root)
        return areas;
    // The window manager's clients (a reparenting manager puts each in a frame of its own) and,
    // for panels it does not list, the root window's own children.
    QList<xcb_window_t> candidates;
    xcb_get_property_reply_t *clients = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, x11::atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 1024), nullptr);
    if (clients && clients->format == 32) {
        const auto *windows = static_cast<const xcb_window_t *>(xcb_get_property_value(clients));
        for (int i = 0; i < xcb_get_property_value_length(clients) / 4; ++i)
            candidates.append(windows[i]);
    }
    std::free(clients);
    if (xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)) {
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            if (!candidates.contains(children[i]))
                candidates.append(children[i]);
        }
        std::free(tree);
    }
    // Every question goes out before the first answer is read: one round trip for all windows.
    const xcb_atom_t typeAtom = x11::atom("_NET_WM_WINDOW_TYPE");
    QList<xcb_get_property_cookie_t> types;
    for (const xcb_window_t window : candidates)
        types.append(xcb_get_property(c, 0, window, typeAtom, XCB_ATOM_ATOM, 0, 16));
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        if (!isDock(xcb_get_property_reply(c, types[i], nullptr)))
            continue;
        if (const auto area = viewableArea(c, candidates[i]))
            areas.append(*area);
    }
    return areas;
}

std::optional<QColor> dockColour(std::optional<QPoint> point)
{
    const QList<QRect> areas = dockAreas();
    if (areas.isEmpty())
        return std::nullopt;
    QRect chosen = areas.first();
    if (point) {
        for (const QRect &area : areas) {
            if (area.contains(*point))
                chosen = area;
        }
    }
    // The panel's stretch around the point (or the whole panel), its icons and text a minority.
    QRect region = chosen;
    if (point && chosen.contains(*point)) {
        const bool horizontal = chosen.width() >= chosen.height();
        region = horizontal ? QRect(point->x() - 80, chosen.y(), 160, chosen.height()) & chosen
                            : QRect(chosen.x(), point->y() - 80, chosen.width(), 160) & chosen;
    }
    const QColor colour = dominantColour(grab(region));
    return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
}

} // namespace quorvane::panel_pixels
