// A picture of one window of the X display, for the end-to-end tests' records.
//   quorvane-window-grab WINDOW_ID FILE.png   saves what the window shows (the id decimal or 0x-hex,
//                                             as xdotool and xwininfo print it)
//   quorvane-window-grab --compare A.png B.png  prints how many pixels differ (all of them when
//                                             the sizes differ)
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>

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

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--compare") // PNG reading needs no display
        return compare(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvane-window-grab WINDOW_ID FILE.png | --compare A.png B.png\n");
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
