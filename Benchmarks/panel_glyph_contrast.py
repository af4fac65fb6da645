#!/usr/bin/python3
# Measures the status item's glyph as a StatusNotifier host receives it, against a panel colour:
#   panel_glyph_contrast.py BUS_NAME '#RRGGBB'
# Reads IconName and IconPixmap from the item on the session bus, lays the offered pixmap closest
# to 22 pixels over the panel colour and prints the contrast ratio (as the accessibility
# guidelines define it) of the glyph's strokes against the panel: "stroke" is the median colour
# of the pixels at least half opaque, "peak" the one pixel farthest from the panel.
import statistics
import sys

import dbus

ITEM = 'org.kde.StatusNotifierItem'


def luminance(rgb):
    def channel(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = rgb
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b)


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def main():
    name, panel_text = sys.argv[1], sys.argv[2].lstrip('#')
    panel = tuple(int(panel_text[i:i + 2], 16) for i in (0, 2, 4))
    item = dbus.SessionBus().get_object(name, '/StatusNotifierItem')
    props = dbus.Interface(item, dbus.PROPERTIES_IFACE)
    icon_name = str(props.Get(ITEM, 'IconName'))
    pixmaps = props.Get(ITEM, 'IconPixmap')
    if not pixmaps:
        print(f'icon name "{icon_name}", no pixmap offered: nothing to measure')
        return
    width, height, data = min(pixmaps, key=lambda p: abs(int(p[0]) - 22))
    width, height, data = int(width), int(height), bytes(data)
    strokes, peak, covered = [], None, 0
    for i in range(width * height):
        a, r, g, b = data[4 * i:4 * i + 4]  # ARGB32 in network byte order
        if a == 0:
            continue
        covered += 1
        # Premultiplied or not, a host lays the pixel over its panel so.
        over = tuple(round((c * a + p * (255 - a)) / 255) for c, p in zip((r, g, b), panel))
        if a >= 128:
            strokes.append(over)
        if peak is None or contrast(over, panel) > contrast(peak, panel):
            peak = over
    if not strokes:
        print(f'icon name "{icon_name}", {width}x{height} pixmap with no stroke at least half opaque')
        return
    stroke = tuple(int(statistics.median(c[k] for c in strokes)) for k in range(3))
    hex_of = lambda rgb: '#%02x%02x%02x' % rgb  # noqa: E731
    print(f'icon name "{icon_name or "(none: the host draws the pixmap)"}", {len(pixmaps)} pixmaps, '
          f'{width}x{height} measured, {covered} covered pixels, {len(strokes)} strokes; '
          f'stroke {hex_of(stroke)} on {hex_of(panel)}: {contrast(stroke, panel):.2f}:1, '
          f'peak {hex_of(peak)}: {contrast(peak, panel):.2f}:1')


if __name__ == '__main__':
    main()
