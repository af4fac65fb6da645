#include "Controller/AppWindows.h"

#include "Calendar/CalendarWindowController.h"
#include "Calendar/CreateWorkspaceWindowController.h"
#include "Controller/AppController.h"
#include "Controller/MainMenu.h"
#include "Install/MoveToApplicationsWindowController.h"
#include "Overlays/CueImageCache.h"
#include "Overlays/SystemAppearance.h"
#include "Session/PreferenceReader.h"
#include "Settings/SettingsModel.h"
#include "Settings/SettingsWindowController.h"
#include "SettingsViews/SettingsView.h"
#include "Shared/FreedMemory.h"
#include "Shared/Log.h"
#include "Triggers/SystemHotCorners.h"
#include "Windows/ActivationPolicy.h"
#include "Windows/QtDialogs.h"

#include <QPointer>

namespace quorvane {

AppWindows::AppWindows(AppController &app)
    : m_app(app)
{
}

AppWindows::~AppWindows() = default;

MoveToApplicationsWindowController *AppWindows::movePrompt() const
{
    return m_movePrompt.get();
}

void AppWindows::newWorkspace(QWidget *from)
{
    SettingsModel &model = m_app.ensureSettingsModel();
    model.reload();
    m_createWindow = std::make_unique<CreateWorkspaceWindowController>(model, dialogs());
    m_createWindow->onClose = accessoryOnClose();
    present(m_createWindow->window());
    CreateWorkspaceWindowController::placeNearMenuBar(m_createWindow->window());
    m_createWindow->showWindow(from);
}

void AppWindows::openCalendar(QWidget *from)
{
    SettingsModel &model = m_app.ensureSettingsModel();
    model.reload();
    if (!m_calendarWindow) {
        m_calendarWindow = std::make_unique<CalendarWindowController>(model);
        // Released from the panel's own close handler, so it goes once that has returned.
        m_calendarWindow->onClose = [this] { m_calendarWindow.release()->deleteLater(); };
    }
    m_calendarWindow->show(m_app.environment().activation, from);
}

void AppWindows::openSettings()
{
    SettingsModel &model = m_app.ensureSettingsModel();
    model.reload();
    if (!m_settingsWindow) {
        const AppEnvironment &env = m_app.environment();
        SettingsViewServices services;
        services.dialogs = env.dialogs;
        services.scheduler = env.scheduler;
        services.info = env.info;
        services.desktop = env.desktop;
        services.loginItem = env.loginItem;
        services.showCreateSurface = [this] { newWorkspace(settingsWindow()); };
        services.spaces = &m_app.spaceIdentifier();
        services.showCalendar = [this] { openCalendar(settingsWindow()); };
        services.cues = &m_app.cueImages();
        services.hotCornerOccupant = [](FloatingDockCorner corner) {
            static LinuxPreferenceReader session; // the session's own hot corners
            return SystemHotCorners::occupant(session, corner);
        };
        services.shortcutLimit = env.shortcutLimit;
        services.shortcutRoad = env.shortcutRoad;
        AppController *app = &m_app;
        services.themeWithoutDark = [app] { return app->appearance().themeWithoutDarkVariant(); };
        services.hasDarkSwitch = [app] { return app->appearance().hasDarkSwitch(); };
        services.cueBelowIconsUnavailable = [app] { return app->background().belowIconsUnavailable(); };
        m_settingsWindow = std::make_unique<SettingsWindowController>(model, [services](SettingsModel &m) -> QWidget * {
            if (!services.scheduler)
                return nullptr;
            return new SettingsView(m, services);
        });
        // What the window's pages and its drawing freed as it closed goes back (the window
        // itself is kept).
        m_settingsWindow->onClose = accessoryOnClose();
        m_settingsWindow->onReleased = [] { giveBackFreedMemory(); };
    }
    present(m_settingsWindow->window());
    m_settingsWindow->showWindow();
}

CalendarWindowController *AppWindows::calendarWindow() const
{
    return m_calendarWindow.get();
}

QWidget *AppWindows::settingsWindow() const
{
    return m_settingsWindow ? m_settingsWindow->window() : nullptr;
}

void AppWindows::showMovePrompt(InstallLocation::Situation situation)
{
    const AppEnvironment &env = m_app.environment();
    auto &prompt = m_movePrompt;
    if (!prompt) {
        QPointer<AppController> weak(&m_app);
        prompt = std::make_unique<MoveToApplicationsWindowController>(
            situation, InstallLocation::sourceFolderName(env.info),
            [info = env.info, home = env.paths.home(), records = env.paths.copyRecords(), loginItem = env.loginItem,
             terminate = env.terminate] {
                const AppInfo moved = InstallLocation::moveToApplications(info, home, loginItem,
                                                                          InstallLocation::Operations::standard(records));
                qCInfo(Log::app()).noquote() << QStringLiteral("relocated to %1 — relaunching").arg(moved.executablePath);
                InstallLocation::relaunch(moved.executablePath, terminate);
            },
            [weak] {
                if (weak)
                    weak->editQuietly([](Config &config) { config.settings.declinedMoveToApplications = true; });
            });
        prompt->onClose = [this, accessory = accessoryOnClose()] {
            accessory();
            m_movePrompt.reset(); // last: releases the prompt (its window goes later)
        };
    }
    present(prompt->window());
    if (QWidget *window = prompt->window()) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void AppWindows::present(QWidget *window)
{
    MainMenu::install(window, m_app.environment().info); // once per window
    m_app.environment().activation->setMode(ActivationPolicy::Mode::regular);
    m_app.environment().activation->activate();
}

Dialogs &AppWindows::dialogs()
{
    if (m_app.environment().dialogs)
        return *m_app.environment().dialogs;
    if (!m_ownDialogs)
        m_ownDialogs = std::make_unique<QtDialogs>();
    return *m_ownDialogs;
}

std::function<void()> AppWindows::accessoryOnClose() const
{
    ActivationPolicy *activation = m_app.environment().activation;
    return [activation] { activation->setMode(ActivationPolicy::Mode::accessory); };
}

} // namespace quorvane
