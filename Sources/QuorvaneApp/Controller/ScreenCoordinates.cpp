#include "Controller/ScreenCoordinates.h"

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

} // namespace quorvane
