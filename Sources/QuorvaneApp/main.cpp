#include "Controller/AppController.h"
#include "Controller/SessionStatusItem.h"
#include "DesktopHosts/LinuxBackgroundHosts.h"
#include "DesktopHosts/LinuxDesktopIconHosts.h"
#include "Overlays/SystemAppearance.h"
#include "PlatformKit.h"
#include "Session/GSettingsMonitor.h"
#include "Session/GSettingsTool.h"
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
#include "Windows/ActivationPolicy.h"
#include "Windows/DesktopPortal.h"

#include <QApplication>
#include <QDBusConnection>
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

// The platform chosen before the application started, as the log tells it.
void sayChosenPlatform(ChosenPlatform chosen)
{
    if (chosen == ChosenPlatform::xwayland)
        qCInfo(Log::app()) << "Wayland session: running on Xwayland (set QT_QPA_PLATFORM to choose another platform)";
    else if (chosen == ChosenPlatform::wayland && QGuiApplication::platformName() == QLatin1String("wayland"))
        qCInfo(Log::app()) << "Wayland session without an X server: running natively on Wayland, without key grabs, "
                              "window levels or overlays";
    else if (chosen == ChosenPlatform::wayland)
        qCWarning(Log::app()) << "Wayland session without an X server, and Qt's Wayland platform plugin (qt6-wayland) "
                                 "can't serve it: running without windows; the status item and the command line serve";
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

// The session's light or dark mode, which the controller turns and the theme reads as "System".
// The session's mode is read once; its change signals have it read again, away from the event
// loop, so that a switch never waits for the session's tools.
class SessionLook {
public:
    SessionLook()
        : m_appearance(themeSource(SystemAppearance::ofSession(Paths::standard().store())))
        , m_changed([appearance = m_appearance.get()] {
            appearance->sessionChanged();
            Theme::shared().systemChanged();
        })
    {
    }

    SystemAppearance &appearance() const { return *m_appearance; }
    // The session's look is watched once the icon is shown: GNOME's colour scheme by a child
    // process, the others on the bus.
    void watch()
    {
        m_xfceTheme = std::make_unique<StatusPanelShadeWatcher>(m_changed);
        m_sessionLook = std::make_unique<SessionLookWatcher>(m_changed);
        m_colorScheme = std::make_unique<GSettingsMonitor>(QLatin1String(gsettings::interfaceSchema),
                                                           QLatin1String(gsettings::colorSchemeKey));
        QObject::connect(m_colorScheme.get(), &GSettingsMonitor::changed, m_changed);
    }

private:
    // The theme reads the session's mode before anything watches it.
    static std::unique_ptr<SystemAppearance> themeSource(std::unique_ptr<SystemAppearance> appearance)
    {
        Theme::shared().setSystemSource(
            [source = appearance.get()] { return source->currentIsDark() || xsettings::themeIsDark(); });
        return appearance;
    }

    const std::unique_ptr<SystemAppearance> m_appearance;
    const std::function<void()> m_changed;
    std::unique_ptr<GSettingsMonitor> m_colorScheme;
    std::unique_ptr<StatusPanelShadeWatcher> m_xfceTheme;
    std::unique_ptr<SessionLookWatcher> m_sessionLook;
};

// The session's response to shortcuts, as the Shortcuts section explains a refused one.
ShortcutRoad shortcutRoadOf(HotKeyRoad road)
{
    switch (road) {
    case HotKeyRoad::customShortcuts:
        return ShortcutRoad::commandLines;
    case HotKeyRoad::none:
        return ShortcutRoad::none;
    case HotKeyRoad::shortcutService:
    case HotKeyRoad::keyGrabs:
        break;
    }
    return ShortcutRoad::keys;
}

// What the controller is given: the kit's services, the status item of this session, and the
// session's notifications, hosts and appearance.
AppEnvironment environmentOf(const PlatformKit &kit, const AppInfo &info, SystemAppearance *appearance)
{
    // The status area there is, or the one that comes later.
    const auto makeStatusItem = [info] { return makeSessionStatusItem(info); };
    AppEnvironment env{Paths::standard(), info, makeStatusItem, &kit.scheduler(), &kit.alerts(), &kit.activation(), &kit.instances(), appearance, kit.openUrl(), {}};
    env.terminate = [] { QCoreApplication::quit(); };
    env.session = &kit.sessionEvents();
    env.spaces = &kit.spaces();
    env.screens = &kit.screens();
    env.compositor = &kit.compositor();
    env.pointerSource = &kit.pointer();
    env.hotKeyRegistrar = kit.hotKeys();
    env.shortcutRoad = shortcutRoadOf(kit.roads().hotKeys);
    env.shortcutLimit = kit.roads().shortcutLimit;
    env.keyLayout = kit.keyLayout();
    env.dialogs = &kit.dialogs();
    const NotificationSender sender{QStringLiteral("Quorvane"), AppInfo::installedIdentifier, info.identifier};
    env.notify = [sender](const QString &title, const QString &body) {
        postSessionNotification(QDBusConnection::sessionBus(), sender,
                                NotificationRequest{QStringLiteral("quorvane.status-area"), title, body, false, {}}, Log::app());
    };
    env.notice = [sender](const QString &title, const QString &body) {
        return postWithdrawableNotification(QDBusConnection::sessionBus(), sender,
                                            NotificationRequest{QStringLiteral("quorvane.status-area"), title, body, false, {}},
                                            Log::app());
    };
    env.backgroundHost = [] { return findBackgroundHost(); };
    env.desktopIconWindow = [] { return desktopIconWindowRuns(); };
    env.iconHost = [desktop = env.paths.desktop()] { return findDesktopIconHost(desktop); };
    env.desktop = &kit.desktopServices();
    env.loginItem = kit.loginItem();
    return env;
}

// What the command line asks of this program and the running instance, answered in the user's
// language: help, a usage error, the version, or a request.
int answer(const QStringList &arguments)
{
    const AppCommandLine commandLine = AppCommandLine::parse(arguments);
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
    const AppCommandClient::Outcome outcome = AppCommandClient().send(*commandLine.command);
    say(outcome.status == appexit::done ? stdout : stderr, QStringLiteral("quorvane: ") + outcome.message);
    return outcome.status;
}

} // namespace

int main(int argc, char **argv)
{
    // A request for the running instance needs neither a display nor a second instance.
    // The line is read again once the user's catalogue is in, so that its errors are translated.
    const QStringList arguments = argumentsOf(argc, argv);
    if (const AppCommandLine commandLine = AppCommandLine::parse(arguments);
        commandLine.help || commandLine.version || commandLine.command || !commandLine.error.isEmpty()) {
        QCoreApplication core(argc, argv);
        QTranslator translator;
        if (translator.load(QLocale(), QStringLiteral("quorvane"), QStringLiteral("_"),
                            Translations::folderFor(QCoreApplication::applicationDirPath())))
            QCoreApplication::installTranslator(&translator);
        return answer(arguments);
    }

    const ChosenPlatform chosenPlatform = choosePlatform(argc, argv);
    QApplication app(argc, argv);
    if (chosenPlatform != ChosenPlatform::none)
        qunsetenv("QT_QPA_PLATFORM"); // programs started from here choose for themselves
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QTranslator translator;
    Translations::install(translator, QLocale(), Translations::folderFor(QCoreApplication::applicationDirPath()));
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows' icon comes once the status item has docked (the launch gives it); WM_CLASS
    // "Quorvane" matches the desktop entry.
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
                                             || qEnvironmentVariableIsSet("QT_QPA_PLATFORMTHEME"));
    SessionLook sessionLook;

    sayChosenPlatform(chosenPlatform);
    const PlatformKit kit(choosePlatformRoads(readSessionOffer(QDBusConnection::sessionBus())),
                          PlatformKit::Setup{info.identifier, info.executablePath, Paths::standard().store(), &portalChoosers},
                          Log::app());
    AppCommandService commands;
    AppEnvironment env = environmentOf(kit, info, &sessionLook.appearance());
    env.commands = &commands;
    AppController controller(env);
    // No taskbar entry: the application lives in the status area.
    kit.activation().setMode(ActivationPolicy::Mode::accessory);

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
    // What the icon does not need follows the launch: the font warm-up's thread and the session
    // look's watchers would otherwise take their share of the start before the icon is docked.
    QMetaObject::invokeMethod(
        &app,
        [&fonts, &sessionLook] {
            fonts.emplace();
            sessionLook.watch();
        },
        Qt::QueuedConnection);
    const int code = app.exec();
    qCInfo(Log::app()) << "quit";
    return code;
}
