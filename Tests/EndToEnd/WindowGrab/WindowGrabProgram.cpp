// A picture of one window of the X display, for the end-to-end tests' records.
//   quorvane-window-grab WINDOW_ID FILE.png   saves what the window shows (the id decimal or 0x-hex,
//                                             as xdotool and xwininfo print it)
//   quorvane-window-grab --compare A.png B.png  prints how many pixels differ (all of them when
//                                             the sizes differ)
//   quorvane-window-grab --contrast FILE.png X Y W H  prints the contrast ratio of the text in that
//                                             part of the picture against its background: the
//                                             part's commonest colour against the pixel that
//                                             differs from it most
//   quorvane-window-grab --contrast-lines FILE.png X Y W H  prints the lowest such ratio of the
//                                             lines of text in that part (runs of pixel rows not
//                                             all of the part's commonest colour, 4 rows or more
//                                             high) and how many lines there are
//   quorvane-window-grab --when-shown TITLE FILE.png SECONDS  prints "ready" once it watches the
//                                             display, then waits up to SECONDS for a viewable
//                                             window titled TITLE and saves it once painted (two
//                                             pictures in a row alike): for a window that is up
//                                             for a moment only, which a poll by separate
//                                             programs may miss on a loaded machine
//   quorvane-window-grab --settled WINDOW_ID FILE.png SECONDS  saves the window's picture once it
//                                             has stopped changing: two pictures 0.2 s apart
//                                             alike, or the last one after SECONDS
//   quorvane-window-grab --screen X Y W H FILE.png  saves that part of the screen as the user sees
//                                             it (under a compositing manager: what it composed,
//                                             windows over one another, translucency included)
//   quorvane-window-grab --compare-inside A.png B.png TOP BOTTOM  prints how many pixels differ
//                                             between the two pictures' insides, TOP pixels in
//                                             from their top edge and BOTTOM from their bottom
//                                             (the rounded corners, or an animation, left out)
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

namespace {

int compare(const QString &first, const QString &second)
{
    const QImage a = QImage(first).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(second).convertToFormat(QImage::Format_RGB32);
    if (a.isNull() || b.isNull()) {
        std::fprintf(stderr, "quorvane-window-grab: cannot read both pictures\n");
        return 2;
    }
    long differing = 0;
    if (a.size() != b.size()) {
        differing = long(std::max(a.width(), b.width())) * std::max(a.height(), b.height());
    } else {
        for (int y = 0; y < a.height(); ++y) {
            const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
            const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                differing += p[x] != q[x];
        }
    }
    std::printf("%ld\n", differing);
    return 0;
}

// The pixels that differ between the two pictures' insides, top pixels in from the top and bottom
// from the bottom; all of the inside when the sizes differ.
int compareInside(const QString &first, const QString &second, int top, int bottom)
{
    const QImage a = QImage(first).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(second).convertToFormat(QImage::Format_RGB32);
    if (a.isNull() || b.isNull() || top < 0 || bottom < 0) {
        std::fprintf(stderr, "quorvane-window-grab: cannot read both pictures\n");
        return 2;
    }
    const int rows = std::max(0, std::max(a.height(), b.height()) - top - bottom);
    long differing = 0;
    if (a.size() != b.size()) {
        differing = long(std::max(a.width(), b.width())) * rows;
    } else {
        for (int y = top; y < a.height() - bottom; ++y) {
            const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
            const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                differing += p[x] != q[x];
        }
    }
    std::printf("%ld\n", differing);
    return 0;
}

double luminance(QRgb pixel)
{
    const auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) + 0.0722 * linear(qBlue(pixel));
}

QRgb commonest(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    return background;
}

// The part's commonest colour against the pixel that differs from it most.
double strongestContrast(const QImage &image, const QRect &area)
{
    const double base = luminance(commonest(image, area));
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const double other = luminance(image.pixel(x, y));
            best = std::max(best, (std::max(base, other) + 0.05) / (std::min(base, other) + 0.05));
        }
    return best;
}

// The lowest contrast of the part's lines of text, and how many there are.
void printLineContrast(const QImage &image, const QRect &area)
{
    // Each line is measured alone, so that one legible line never vouches for a faint one.
    const QRgb background = commonest(image, area);
    const auto blank = [&](int y) {
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != background)
                return false;
        return true;
    };
    double lowest = 0;
    int lines = 0;
    for (int y = area.top(); y <= area.bottom();) {
        if (blank(y)) {
            ++y;
            continue;
        }
        const int top = y;
        while (y <= area.bottom() && !blank(y))
            ++y;
        if (y - top < 4) // a rule or a stray pixel, no text
            continue;
        const double ratio = strongestContrast(image, QRect(area.left(), top, area.width(), y - top));
        lowest = lines++ == 0 ? ratio : std::min(lowest, ratio);
    }
    std::printf("%.2f %d\n", lowest, lines);
}

// --contrast and --contrast-lines: the part of the picture named by the arguments, measured.
int contrast(const QString &file, const QRect &part, bool byLine)
{
    const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
    const QRect area = part.intersected(image.rect());
    if (image.isNull() || area.isEmpty()) {
        std::fprintf(stderr, "quorvane-window-grab: cannot read the picture, or the part is outside it\n");
        return 2;
    }
    if (byLine)
        printLineContrast(image, area);
    else
        std::printf("%.2f\n", strongestContrast(image, area));
    return 0;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray windowTitle(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netName, xcb_atom_t utf8)
{
    for (const auto &[property, type] : {std::pair{netName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, 256), nullptr),
            &std::free);
        if (reply && xcb_get_property_value_length(reply.get()) > 0)
            return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                              xcb_get_property_value_length(reply.get()));
    }
    return {};
}

bool viewable(xcb_connection_t *connection, xcb_window_t window)
{
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr), &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The viewable window titled so among the root's children and theirs (a window manager's frames
// hold the clients); none is 0.
xcb_window_t findShown(xcb_connection_t *connection, xcb_window_t parent, const QByteArray &title, int depth)
{
    const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
    if (!tree)
        return 0;
    static const xcb_atom_t netName = atom(connection, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (windowTitle(connection, children[i], netName, utf8) == title && viewable(connection, children[i]))
            return children[i];
        if (depth > 0)
            if (const xcb_window_t inner = findShown(connection, children[i], title, depth - 1))
                return inner;
    }
    return 0;
}

bool uniform(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

int whenShown(const QByteArray &title, const QString &file, double seconds)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!x11 || !screen) {
        std::fprintf(stderr, "quorvane-window-grab: no X display\n");
        return 2;
    }
    xcb_connection_t *connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::printf("ready\n");
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(seconds * 1000)) {
        if (const xcb_window_t window = findShown(connection, root, title, 2)) {
            QImage last;
            while (viewable(connection, window)) {
                const QImage now = screen->grabWindow(window).toImage();
                if (now.isNull())
                    break;
                if (now == last && !uniform(now))
                    return now.save(file, "PNG") ? 0 : 1;
                last = now;
                QThread::msleep(15);
            }
            if (!last.isNull() && !uniform(last))
                return last.save(file, "PNG") ? 0 : 1; // gone before two pictures agreed
        }
        QThread::msleep(10);
    }
    std::fprintf(stderr, "quorvane-window-grab: no window titled %s was shown\n", title.constData());
    return 1;
}

int settled(const QByteArray &id, const QString &file, double seconds)
{
    bool ok = false;
    const WId window = QString::fromLocal8Bit(id).toULongLong(&ok, 0);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!ok || !screen) {
        std::fprintf(stderr, "quorvane-window-grab: no window id or no screen\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    QImage last = screen->grabWindow(window).toImage();
    while (!last.isNull() && clock.elapsed() < qint64(seconds * 1000)) {
        QThread::msleep(200);
        const QImage now = screen->grabWindow(window).toImage();
        if (now.isNull())
            break;
        const bool alike = now == last;
        last = now;
        if (alike)
            break;
    }
    if (last.isNull() || !last.save(file, "PNG")) {
        std::fprintf(stderr, "quorvane-window-grab: could not grab window %s or save it\n", id.constData());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--compare") // PNG reading needs no display
        return compare(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 7 && (QByteArray(argv[1]) == "--contrast" || QByteArray(argv[1]) == "--contrast-lines"))
        return contrast(QString::fromLocal8Bit(argv[2]),
                        QRect(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])),
                        QByteArray(argv[1]) == "--contrast-lines");
    if (argc == 5 && QByteArray(argv[1]) == "--when-shown") {
        QGuiApplication app(argc, argv);
        return whenShown(QByteArray(argv[2]), QString::fromLocal8Bit(argv[3]), std::atof(argv[4]));
    }
    if (argc == 6 && QByteArray(argv[1]) == "--compare-inside")
        return compareInside(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]),
                             std::atoi(argv[5]));
    if (argc == 7 && QByteArray(argv[1]) == "--screen") {
        QGuiApplication app(argc, argv);
        QScreen *screen = QGuiApplication::primaryScreen();
        const QPixmap part = screen ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                                         std::atoi(argv[5]))
                                    : QPixmap();
        if (part.isNull() || !part.save(QString::fromLocal8Bit(argv[6]), "PNG")) {
            std::fprintf(stderr, "quorvane-window-grab: could not grab the screen or save it\n");
            return 1;
        }
        return 0;
    }
    if (argc == 5 && QByteArray(argv[1]) == "--settled") {
        QGuiApplication app(argc, argv);
        return settled(QByteArray(argv[2]), QString::fromLocal8Bit(argv[3]), std::atof(argv[4]));
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvane-window-grab WINDOW_ID FILE.png | --compare A.png B.png | --contrast[-lines] FILE.png X Y W H"
                             " | --when-shown TITLE FILE.png SECONDS | --settled WINDOW_ID FILE.png SECONDS"
                             " | --screen X Y W H FILE.png | --compare-inside A.png B.png TOP BOTTOM\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    bool ok = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok, 0);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!ok || !screen) {
        std::fprintf(stderr, "quorvane-window-grab: no window id or no screen\n");
        return 2;
    }
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "quorvane-window-grab: could not grab window %s or save it\n", argv[1]);
        return 1;
    }
    return 0;
}
