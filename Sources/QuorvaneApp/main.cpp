#include "Controller/AppController.h"
#include "LinuxBackgroundHosts.h"
#include "LinuxDesktopServices.h"
#include "LinuxLoginItem.h"
#include "LinuxSessionEvents.h"
#include "X11HotKeyRegistrar.h"
#include "X11KeyLayout.h"
#include "LockFileRunningInstances.h"
#include "Controller/Log.h"
#include "MessageBoxAlertPresenter.h"
#include "QtDialogs.h"
#include "QtScheduler.h"
#include "ScriptProcess.h"
#include "ScriptRunner.h"
#include "TerminationSignals.h"
#include "TrayStatusItem.h"
#include "WidgetActivationPolicy.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>

#include <memory>

using namespace quorvane;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    const AppInfo info = AppInfo::current();
    Log::start(info, Log::standardLogFile());

    QtScheduler scheduler;
    MessageBoxAlertPresenter alerts;
    QtDialogs dialogs;
    WidgetActivationPolicy activation;
    LinuxScriptRunner inProcessScripts;
    ScriptProcess scriptTool;

    // Wakes come from logind on the system bus, workspace changes from the X server.
    LinuxSessionEvents sessionEvents(QDBusConnection::systemBus());
    // Global hot keys and the layout's key names need the X server; elsewhere every hot key is
    // refused and keys are named as on a US layout.
    std::unique_ptr<X11HotKeyRegistrar> hotKeyRegistrar;
    std::unique_ptr<X11KeyLayout> keyLayout;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        hotKeyRegistrar = std::make_unique<X11HotKeyRegistrar>();
        keyLayout = std::make_unique<X11KeyLayout>();
    }

    LockFileRunningInstances instances(info.identifier, LockFileRunningInstances::standardRuntimeFolder());

    AppEnvironment env{Paths::standard(), info, [] { return std::make_shared<TrayStatusItem>(); }, &scheduler, &alerts,
                       &activation, &inProcessScripts, &scriptTool, &instances, nullptr, {}, {}};
    env.openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    env.terminate = [] { QCoreApplication::quit(); };
    env.session = &sessionEvents;
    env.hotKeyRegistrar = hotKeyRegistrar.get();
    env.keyLayout = keyLayout && keyLayout->available() ? keyLayout.get() : nullptr;
    env.dialogs = &dialogs;
    env.backgroundHost = [] { return findBackgroundHost(); };
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

    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, [](int) { QCoreApplication::quit(); });

    QMetaObject::invokeMethod(&controller, [&controller] { controller.applicationDidFinishLaunching(); }, Qt::QueuedConnection);
    const int code = app.exec();
    qCInfo(Log::app()) << "quit";
    return code;
}
