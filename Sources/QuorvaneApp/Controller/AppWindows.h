#pragma once

#include "Install/InstallLocation.h"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace quorvane {

class AppController;
class CreateWorkspaceWindowController;
class Dialogs;
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
    void newWorkspace();
    void openCalendar();
    // The offer to move the application into the per-user install.
    void showMovePrompt(InstallLocation::Situation situation);
    // The windows' questions: the environment's, else Qt's own.
    Dialogs &dialogs();

private:
    void present(QWidget *window);
    std::function<void()> accessoryOnClose() const;

    AppController &m_app;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    std::unique_ptr<CreateWorkspaceWindowController> m_createWindow;
};

} // namespace quorvane
