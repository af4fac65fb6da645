#include <QApplication>
#include <QSystemTrayIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationDomain(QStringLiteral("quorvane.app"));
    QApplication::setQuitOnLastWindowClosed(false);
    return app.exec();
}
