// The yardstick of the start benchmark: the least a Qt tray application does to show its icon
// (the application object, an icon of one colour, the tray icon shown, the event loop), built
// with the same compiler, flags and Qt as the application.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap picture(22, 22);
    picture.fill(Qt::darkGray);
    QSystemTrayIcon icon{QIcon(picture)};
    icon.show();
    return app.exec();
}
