#include "Shared/ScreenCoordinates.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorvane {

qreal primaryScreenBottom()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return 0;
    const QRect frame = primary->geometry();
    return frame.y() + frame.height();
}

ScreenLayout currentScreenLayout()
{
    ScreenLayout layout;
    layout.primaryBottom = primaryScreenBottom();
    for (const QScreen *screen : QGuiApplication::screens())
        layout.frames.push_back(flippedRect(QRectF(screen->geometry()), layout.primaryBottom));
    return layout;
}

void observeScreenChanges(QObject *context, std::function<void()> fn)
{
    if (!qGuiApp)
        return;
    auto watchScreen = [context, fn](QScreen *screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, fn);
        QObject::connect(screen, &QScreen::availableGeometryChanged, context, fn);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, context, [watchScreen, fn](QScreen *screen) {
        watchScreen(screen);
        fn();
    });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, context, fn);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, context, fn);
}

} // namespace quorvane
