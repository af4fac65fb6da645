#pragma once

#include "Install/InstallLocation.h"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace quorvane {

class AppController;
class CalendarWindowController;
class CreateWorkspaceWindowController;
class Dialogs;
class MoveToApplicationsWindowController;
class QtDialogs;
class SettingsWindowController;

// The application's own windows (settings, the new-desktop window, the calendar, the move
// prompt), each owned here. While one is open the application is a regular one with the main
// menu's shortcuts in that window; closing it makes the application an accessory again.
class AppWindows : public QObject {
    Q_OBJECT

public:
    explicit AppWindows(AppController &app);
    ~AppWindows() override;

    void openSettings();
    // The settings window once it has been opened.
    QWidget *settingsWindow() const;
    // from: the window that asks (the settings window); none from the menu.
    void newWorkspace(QWidget *from = nullptr);
    void openCalendar(QWidget *from = nullptr);
    // The calendar panel while it is open; none otherwise.
    CalendarWindowController *calendarWindow() const;
    // The offer to move the application into the per-user install.
    void showMovePrompt(InstallLocation::Situation situation);
    // The move prompt while it is open; none otherwise.
    MoveToApplicationsWindowController *movePrompt() const;
    // The windows' questions: the environment's, else Qt's own.
    Dialogs &dialogs();

private:
    void present(QWidget *window);
    std::function<void()> accessoryOnClose() const;

    AppController &m_app;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    std::unique_ptr<CreateWorkspaceWindowController> m_createWindow;
    std::unique_ptr<CalendarWindowController> m_calendarWindow;
    std::unique_ptr<MoveToApplicationsWindowController> m_movePrompt;
    // Qt's own dialogs when the environment gives none, built on first use.
    std::unique_ptr<QtDialogs> m_ownDialogs;
};

} // namespace quorvane
