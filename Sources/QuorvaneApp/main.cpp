#include "Controller/AppController.h"
#include "GSettingsMonitor.h"
#include "GSettingsTool.h"
#include "KGlobalAccelHotKeyRegistrar.h"
#include "LinuxBackgroundHosts.h"
#include "LinuxDesktopIconHosts.h"
#include "LinuxDesktopServices.h"
#include "LinuxLoginItem.h"
#include "LinuxSessionEvents.h"
#include "LockFileRunningInstances.h"
#include "MessageBoxAlertPresenter.h"
#include "Overlays/SystemAppearance.h"
#include "QtDialogs.h"
#include "QtScheduler.h"
#include "SessionNotifications.h"
#include "Shared/Log.h"
#include "Shared/Theme.h"
#include "StatusNotifierItem.h"
#include "StatusPanelShade.h"
#include "TerminationSignals.h"
#include "TrayStatusItem.h"
#include "WidgetActivationPolicy.h"
#include "X11HotKeyRegistrar.h"
#include "X11KeyLayout.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QSystemTrayIcon>

#include <memory>

using namespace quorvane;

namespace {

// On a Wayland session the application runs on Xwayland, where its status menu is a popup, its
// dock and overlays keep their window types and levels, and key grabs and workspaces exist. A
// platform the user chose (QT_QPA_PLATFORM or -platform) is kept. True when it chose xcb.
bool preferXwayland(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrncmp(argv[i], "-platform=", 10) == 0)
            return false;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const bool onXwayland = preferXwayland(argc, argv);
    QApplication app(argc, argv);
    if (onXwayland)
        qunsetenv("QT_QPA_PLATFORM"); // programs started from here choose for themselves
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Every window carries the application's icon; WM_CLASS "Quorvane" matches the desktop entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app.quorvane.Quorvane.svg")));
    // "System" follows the session's colour scheme, and changes when it does.
    Theme::shared().setSystemSource([] { return SystemAppearance::shared().currentIsDark(); });
    GSettingsMonitor colorScheme(QLatin1String(gsettings::interfaceSchema), QLatin1String(gsettings::colorSchemeKey));
    QObject::connect(&colorScheme, &GSettingsMonitor::changed, [] { Theme::shared().systemChanged(); });

    const AppInfo info = AppInfo::current();
    Log::start(info, Log::standardLogFile());
    if (onXwayland)
        qCInfo(Log::app()) << "Wayland session: running on Xwayland (set QT_QPA_PLATFORM to choose another platform)";

    QtScheduler scheduler;
    MessageBoxAlertPresenter alerts;
    QtDialogs dialogs;
    WidgetActivationPolicy activation;

    // Wakes come from logind on the system bus, workspace changes from the X server.
    LinuxSessionEvents sessionEvents(QDBusConnection::systemBus());
    // Global hot keys: on a Wayland session through KDE's shortcut service where it runs (an X
    // grab there fires only while an X11 window has focus), else as key grabs on the X server;
    // without either every hot key is refused. The layout's key names need the X server;
    // elsewhere keys are named as on a US layout.
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    std::unique_ptr<HotKeyRegistrar> hotKeyRegistrar;
    std::unique_ptr<X11KeyLayout> keyLayout;
    if ((waylandSession || !onX11) && KGlobalAccelHotKeyRegistrar::availableOn(QDBusConnection::sessionBus())) {
        hotKeyRegistrar = std::make_unique<KGlobalAccelHotKeyRegistrar>(
            QDBusConnection::sessionBus(), info.identifier.isEmpty() ? QStringLiteral("quorvane") : info.identifier,
            QStringLiteral("Quorvane"));
        qCInfo(Log::app()) << "global shortcuts through the session's shortcut service (org.kde.kglobalaccel)";
    } else if (onX11) {
        hotKeyRegistrar = std::make_unique<X11HotKeyRegistrar>();
        qCInfo(Log::app()).noquote() << (waylandSession ? QStringLiteral("global shortcuts as X11 key grabs: on this Wayland "
                                                                         "session they work only while an X11 window has focus")
                                                        : QStringLiteral("global shortcuts as X11 key grabs"));
    } else {
        qCWarning(Log::app()) << "no global shortcuts on this session: no shortcut service and no X server";
    }
    if (onX11)
        keyLayout = std::make_unique<X11KeyLayout>();

    LockFileRunningInstances instances(info.identifier, LockFileRunningInstances::standardRuntimeFolder());

    // A status area with a StatusNotifier watcher draws our item and its menu itself; an embedding
    // tray gets the tray icon. With neither yet, the item waits for a watcher (status areas that
    // start after the application are watchers on every current desktop).
    const auto makeStatusItem = [&info]() -> std::shared_ptr<StatusItem> {
        if (StatusNotifierItem::watcherPresent() || !QSystemTrayIcon::isSystemTrayAvailable()) {
            auto item = std::make_shared<StatusNotifierItem>(info.identifier.isEmpty() ? QStringLiteral("quorvane") : info.identifier,
                                                             QStringLiteral("Quorvane"));
            const auto shade = [weak = std::weak_ptr<StatusNotifierItem>(item)] {
                if (const auto live = weak.lock())
                    live->setGlyphColour(statusGlyphColour(statusPanelIsDark(StatusPanelHints::probe())));
            };
            shade();
            // The watcher lives as long as the item.
            new StatusPanelShadeWatcher(shade, QDBusConnection::sessionBus(), item.get());
            qCInfo(Log::app()) << "status item offered to the status area's watcher as" << item->serviceName();
            return item;
        }
        return std::make_shared<TrayStatusItem>();
    };
    AppEnvironment env{Paths::standard(), info, makeStatusItem, &scheduler, &alerts, &activation, &instances, nullptr, {}, {}};
    env.openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    env.terminate = [] { QCoreApplication::quit(); };
    env.session = &sessionEvents;
    env.hotKeyRegistrar = hotKeyRegistrar.get();
    if (waylandSession && onX11 && dynamic_cast<X11HotKeyRegistrar *>(hotKeyRegistrar.get()))
        env.shortcutLimit = QStringLiteral("On this Wayland session, shortcuts work only while an X11 window has focus.");
    env.keyLayout = keyLayout && keyLayout->available() ? keyLayout.get() : nullptr;
    env.dialogs = &dialogs;
    env.notify = [sender = NotificationSender{QStringLiteral("Quorvane"), AppInfo::installedIdentifier, info.identifier}](
                     const QString &title, const QString &body) {
        postSessionNotification(QDBusConnection::sessionBus(), sender,
                                NotificationRequest{QStringLiteral("quorvane.status-area"), title, body, false, {}}, Log::app());
    };
    env.backgroundHost = [] { return findBackgroundHost(); };
    env.desktopIconWindow = [] { return desktopIconWindowRuns(); };
    env.iconHost = [desktop = env.paths.desktop()] { return findDesktopIconHost(desktop); };
    LinuxDesktopServices desktopServices(env.openUrl);
    env.desktop = &desktopServices;
    // Only an installed application has an identifier to start at login under.
    std::unique_ptr<LinuxLoginItem> loginItem;
    if (!info.identifier.isEmpty()) {
        loginItem = std::make_unique<LinuxLoginItem>(info.identifier, info.executablePath);
        env.loginItem = loginItem.get();
    }
    AppController controller(env);
    // No taskbar entry: the application lives in the status area.
    activation.setMode(ActivationPolicy::Mode::accessory);

    // A logout's SIGTERM (or SIGINT, SIGHUP) ends the application whatever window is open: exit()
    // leaves every event loop at once, an alert's own included (quit() would first ask every
    // window to close, and an alert without an escape refuses). It is read from the event loop,
    // so a switch's journalled step under way finishes first; the controller then gives back
    // what it borrowed as it goes.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, [](int number) {
        qCInfo(Log::app()) << "termination signal" << number << "— quitting";
        QCoreApplication::exit(0);
    });

    QMetaObject::invokeMethod(
        &controller, [&controller] { controller.applicationDidFinishLaunching(); }, Qt::QueuedConnection);
    const int code = app.exec();
    qCInfo(Log::app()) << "quit";
    return code;
}
