#include "Controller/AppController.h"
#include "Controller/SessionStatusItem.h"
#include "DesktopHosts/LinuxBackgroundHosts.h"
#include "DesktopHosts/LinuxDesktopIconHosts.h"
#include "Files/LinuxDesktopServices.h"
#include "Files/LockFileRunningInstances.h"
#include "Install/LinuxLoginItem.h"
#include "Keys/CustomShortcutList.h"
#include "Keys/KGlobalAccelHotKeyRegistrar.h"
#include "Keys/X11HotKeyRegistrar.h"
#include "Keys/X11KeyLayout.h"
#include "Overlays/SystemAppearance.h"
#include "Session/GSettingsMonitor.h"
#include "Session/GSettingsTool.h"
#include "Session/LinuxSessionEvents.h"
#include "Session/SessionLookWatcher.h"
#include "Session/SessionNotifications.h"
#include "Session/TerminationSignals.h"
#include "Session/XSettings.h"
#include "Shared/FontWarmUp.h"
#include "Shared/Log.h"
#include "Shared/Theme.h"
#include "Shared/Translations.h"
#include "Tray/StatusPanelShade.h"
#include "Triggers/AppCommandClient.h"
#include "Triggers/AppCommandService.h"
#include "Windows/CompositorProbe.h"
#include "Windows/DesktopPortal.h"
#include "Windows/MessageBoxAlertPresenter.h"
#include "Windows/PointerSource.h"
#include "Windows/QtDialogs.h"
#include "Windows/ScreenList.h"
#include "Windows/WidgetActivationPolicy.h"
#include "Work/QtScheduler.h"
#include "Workspaces/SpaceProvider.h"
#include "Workspaces/SwayWorkspaces.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <optional>

using namespace quorvane;

namespace {

// The platform the application chooses for itself, when the user chose none (QT_QPA_PLATFORM or
// -platform): on a Wayland session Xwayland, where its status menu is a popup, its dock and
// overlays keep their window types and levels, and key grabs and workspaces exist; on a Wayland
// session without an X server (a compositor that runs no Xwayland) Wayland itself, and without
// Qt's Wayland plugin no windows at all, where the status item and the command line still serve.
enum class ChosenPlatform {
    none,
    xwayland,
    wayland
};

ChosenPlatform choosePlatform(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return ChosenPlatform::none;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrncmp(argv[i], "-platform=", 10) == 0)
            return ChosenPlatform::none;
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return ChosenPlatform::xwayland;
    }
    qputenv("QT_QPA_PLATFORM", "wayland;offscreen");
    return ChosenPlatform::wayland;
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void say(std::FILE *stream, const QString &line)
{
    std::fprintf(stream, "%s\n", qPrintable(line));
}

} // namespace

int main(int argc, char **argv)
{
    // A request for the running instance needs neither a display nor a second instance.
    const AppCommandLine commandLine = AppCommandLine::parse(argumentsOf(argc, argv));
    if (commandLine.help) {
        std::fputs(qPrintable(AppCommandLine::helpText()), stdout);
        return commandLine.error.isEmpty() ? appexit::done : appexit::usage;
    }
    if (!commandLine.error.isEmpty()) {
        say(stderr, QStringLiteral("quorvane: ") + commandLine.error);
        return appexit::usage;
    }
    if (commandLine.version) {
        say(stdout, AppCommandLine::versionText());
        return appexit::done;
    }
    if (commandLine.command) {
        QCoreApplication core(argc, argv);
        const AppCommandClient::Outcome outcome = AppCommandClient().send(*commandLine.command);
        say(outcome.status == appexit::done ? stdout : stderr, QStringLiteral("quorvane: ") + outcome.message);
        return outcome.status;
    }

    const ChosenPlatform chosenPlatform = choosePlatform(argc, argv);
    const bool portalDialogs = preferPortalDialogs();
    QApplication app(argc, argv);
    if (chosenPlatform != ChosenPlatform::none)
        qunsetenv("QT_QPA_PLATFORM"); // programs started from here choose for themselves
    if (portalDialogs)
        qunsetenv("QT_QPA_PLATFORMTHEME");
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QTranslator translator;
    Translations::install(translator, QLocale(), Translations::folderFor(QCoreApplication::applicationDirPath()));
    QApplication::setQuitOnLastWindowClosed(false);
    // Every window carries the application's icon; WM_CLASS "Quorvane" matches the desktop entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app.quorvane.Quorvane.svg")));
    const AppInfo info = AppInfo::current();
    Log::start(info, Log::standardLogFile());
    // A plain second start: the running instance shows its settings window, and this one ends.
    if (const auto outcome = AppCommandClient(QDBusConnection::sessionBus(), 3000).send(AppCommand{AppCommand::Kind::showSettings});
        outcome.status == appexit::done) {
        qCInfo(Log::app()) << "Quorvane is running already: it shows its settings window, and this start ends";
        return 0;
    }
    // Text is first drawn when the user opens the status menu: the fonts are read before that,
    // once the icon is shown (below).
    std::optional<FontWarmUp> fonts;
    // "System" is the desktop's look (its platform theme's style, and its palette where a desktop's
    // platform theme gives one), follows the session's colour scheme and changes when it does:
    // GNOME's colour scheme, XFCE's theme, any XSETTINGS manager's theme, KDE's colour scheme.
    Theme::shared().setFollowPlatformPalette(!qEnvironmentVariableIsEmpty("XDG_CURRENT_DESKTOP")
                                             || qEnvironmentVariableIsSet("QT_QPA_PLATFORMTHEME") || portalDialogs);
    // The session's light or dark mode, which the controller turns and the theme reads.
    const std::unique_ptr<SystemAppearance> sessionAppearance = SystemAppearance::ofSession(Paths::standard().store());
    Theme::shared().setSystemSource(
        [appearance = sessionAppearance.get()] { return appearance->currentIsDark() || xsettings::themeIsDark(); });
    // The session's mode is read once; its change signals have it read again, away from the
    // event loop, so that a switch never waits for the session's tools.
    const auto sessionLookChanged = [appearance = sessionAppearance.get()] {
        appearance->sessionChanged();
        Theme::shared().systemChanged();
    };
    // GNOME's colour scheme is watched by a child process, started once the icon is shown (below).
    std::unique_ptr<GSettingsMonitor> colorScheme;
    StatusPanelShadeWatcher xfceTheme(sessionLookChanged);
    SessionLookWatcher sessionLook(sessionLookChanged);

    if (chosenPlatform == ChosenPlatform::xwayland)
        qCInfo(Log::app()) << "Wayland session: running on Xwayland (set QT_QPA_PLATFORM to choose another platform)";
    else if (chosenPlatform == ChosenPlatform::wayland && QGuiApplication::platformName() == QLatin1String("wayland"))
        qCInfo(Log::app()) << "Wayland session without an X server: running natively on Wayland, without key grabs, "
                              "window levels or overlays";
    else if (chosenPlatform == ChosenPlatform::wayland)
        qCWarning(Log::app()) << "Wayland session without an X server, and Qt's Wayland platform plugin (qt6-wayland) "
                                 "can't serve it: running without windows; the status item and the command line serve";

    QtScheduler scheduler;
    MessageBoxAlertPresenter alerts;
    QtDialogs dialogs(portalDialogs);
    WidgetActivationPolicy activation;

    // Wakes come from logind on the system bus, workspace changes from the X server.
    LinuxSessionEvents sessionEvents(QDBusConnection::systemBus());
    // sway and i3 publish their workspaces over their IPC socket, Xwayland or not; where the X
    // server's root window names them as well (i3), those stay, so that stored bindings hold.
    LinuxSpaceProvider rootWorkspaces;
    std::unique_ptr<SwayWorkspaces> socketWorkspaces;
    if (const QString socket = SwayWorkspaces::socketFromEnvironment(); !socket.isEmpty() && !rootWorkspaces.available()) {
        socketWorkspaces = std::make_unique<SwayWorkspaces>(socket);
        sessionEvents.followWorkspaces(*socketWorkspaces);
        qCInfo(Log::app()).noquote() << QStringLiteral("workspaces through the window manager's socket %1").arg(socket);
    }
    // Global hot keys: on a Wayland session through KDE's shortcut service where it runs (an X
    // grab there fires only while an X11 window has focus), else through GNOME's, Cinnamon's or MATE's
    // own custom shortcuts, else as key grabs on the X server; without any every hot key is
    // refused. The layout's key names need the X server;
    // elsewhere keys are named as on a US layout.
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    std::unique_ptr<HotKeyRegistrar> hotKeyRegistrar;
    // The layout names keys and, for KDE's service, the signs Shift types; on Wayland it is
    // Xwayland's, which follows the compositor's layout.
    std::unique_ptr<X11KeyLayout> keyLayout = onX11 ? std::make_unique<X11KeyLayout>() : X11KeyLayout::ofDisplay();
    QString shortcutRoad;
    const auto shortcutList = waylandSession ? CustomShortcutList::forDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))
                                             : std::nullopt;
    if ((waylandSession || !onX11) && KGlobalAccelHotKeyRegistrar::availableOn(QDBusConnection::sessionBus())) {
        auto kdeKeys = std::make_unique<KGlobalAccelHotKeyRegistrar>(
            QDBusConnection::sessionBus(), info.identifier.isEmpty() ? QStringLiteral("quorvane") : info.identifier,
            QStringLiteral("Quorvane"));
        if (keyLayout && keyLayout->available())
            kdeKeys->setKeyLayout(keyLayout.get());
        hotKeyRegistrar = std::move(kdeKeys);
        qCInfo(Log::app()) << "global shortcuts through the session's shortcut service (org.kde.kglobalaccel)";
        shortcutRoad = QStringLiteral("Shortcuts are served by KDE's global shortcut service.");
    } else if (shortcutList) {
        hotKeyRegistrar = std::make_unique<CustomShortcutList>(*shortcutList, std::make_unique<GSettingsToolAccess>(),
                                                               SettingsLedger::inStore(Paths::standard().store()),
                                                               info.executablePath);
        qCInfo(Log::app()).noquote()
            << QStringLiteral("global shortcuts as the desktop's own custom shortcuts (%1)").arg(shortcutList->listSchema);
        shortcutRoad = QStringLiteral("Shortcuts are added to the desktop's own keyboard shortcuts, each named "
                                      "\u201CQuorvane: \u2026\u201D. Switch to last desktop, Open calendar and "
                                      "Toggle floating dock can't be added there.");
    } else if (onX11) {
        hotKeyRegistrar = std::make_unique<X11HotKeyRegistrar>();
        qCInfo(Log::app()).noquote() << (waylandSession ? QStringLiteral("global shortcuts as X11 key grabs: on this Wayland "
                                                                         "session they work only while an X11 window has focus")
                                                        : QStringLiteral("global shortcuts as X11 key grabs"));
    } else {
        qCWarning(Log::app()) << "no global shortcuts on this session: no shortcut service and no X server";
        if (waylandSession)
            shortcutRoad = QStringLiteral("This session gives the application no global shortcuts: bind keys in the desktop's "
                                          "own settings to the command line, as in \u201Cquorvane --switch-to Work\u201D.");
    }

    LockFileRunningInstances instances(info.identifier, LockFileRunningInstances::standardRuntimeFolder());

    // The status area there is, or the one that comes later.
    const auto makeStatusItem = [&info] { return makeSessionStatusItem(info); };
    AppEnvironment env{Paths::standard(), info, makeStatusItem, &scheduler, &alerts, &activation, &instances, sessionAppearance.get(), {}, {}};
    env.openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    env.terminate = [] { QCoreApplication::quit(); };
    env.session = &sessionEvents;
    env.spaces = socketWorkspaces ? static_cast<SpaceProvider *>(socketWorkspaces.get()) : &rootWorkspaces;
    // The screens, the compositing manager and the pointer, one of each for the whole run.
    QtScreenList screens;
    LinuxCompositorProbe compositor;
    LinuxPointerSource pointer;
    env.screens = &screens;
    env.compositor = &compositor;
    env.pointerSource = &pointer;
    env.hotKeyRegistrar = hotKeyRegistrar.get();
    if (!hotKeyRegistrar)
        env.shortcutRoad = ShortcutRoad::none;
    else if (dynamic_cast<CustomShortcutList *>(hotKeyRegistrar.get()))
        env.shortcutRoad = ShortcutRoad::commandLines;
    if (waylandSession && onX11 && dynamic_cast<X11HotKeyRegistrar *>(hotKeyRegistrar.get()))
        env.shortcutLimit = QStringLiteral("On this Wayland session, shortcuts work only while an X11 window has focus.");
    else
        env.shortcutLimit = shortcutRoad;
    env.keyLayout = keyLayout && keyLayout->available() ? keyLayout.get() : nullptr;
    env.dialogs = &dialogs;
    AppCommandService commands;
    env.commands = &commands;
    env.notify = [sender = NotificationSender{QStringLiteral("Quorvane"), AppInfo::installedIdentifier, info.identifier}](
                     const QString &title, const QString &body) {
        postSessionNotification(QDBusConnection::sessionBus(), sender,
                                NotificationRequest{QStringLiteral("quorvane.status-area"), title, body, false, {}}, Log::app());
    };
    env.notice = [sender = NotificationSender{QStringLiteral("Quorvane"), AppInfo::installedIdentifier, info.identifier}](
                     const QString &title, const QString &body) {
        return postWithdrawableNotification(QDBusConnection::sessionBus(), sender,
                                            NotificationRequest{QStringLiteral("quorvane.status-area"), title, body, false, {}},
                                            Log::app());
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
    // What the icon does not need follows the launch: the font warm-up's thread and the colour
    // scheme's watcher would otherwise take their share of the start before the icon is docked.
    QMetaObject::invokeMethod(
        &app,
        [&fonts, &colorScheme, sessionLookChanged] {
            fonts.emplace();
            colorScheme = std::make_unique<GSettingsMonitor>(QLatin1String(gsettings::interfaceSchema),
                                                             QLatin1String(gsettings::colorSchemeKey));
            QObject::connect(colorScheme.get(), &GSettingsMonitor::changed, sessionLookChanged);
        },
        Qt::QueuedConnection);
    const int code = app.exec();
    qCInfo(Log::app()) << "quit";
    return code;
}
