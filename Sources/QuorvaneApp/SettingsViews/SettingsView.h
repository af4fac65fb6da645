#pragma once

#include "Settings/DeleteFailure.h"
#include "SettingsViews/DebouncedCommit.h"
#include "SettingsViews/SettingsContext.h"
#include "SettingsViews/SettingsSection.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace quorvane {

class DetailPane;
class SettingsModel;

// The settings window's content: the sidebar of sections and the detail pane showing the
// chosen one under its title. It shows the model's two failure alerts, tints itself with the
// stored accent and takes the stored light or dark look.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    static constexpr double accentDelay = 0.12;
    static constexpr double cueColorDelay = 0.2;

    SettingsView(SettingsModel &model, const SettingsViewServices &services, QWidget *parent = nullptr);
    // The page goes first: it still uses the services and the accent commit as it goes.
    ~SettingsView() override;

    QSize sizeHint() const override;

    SettingsSection section() const { return m_section; }
    // Deletes the page shown and builds the section's page afresh.
    void select(SettingsSection section);

    QListWidget *sidebar() const { return m_sidebar; }
    DetailPane *pane() const { return m_pane; }
    QLabel *footer() const { return m_footer; }
    DebouncedCommit &accentCommit() { return m_accentCommit; }
    DebouncedCommit &cueColorCommit() { return m_cueColorCommit; }
    // The accent the views show: the stored one, else the system's.
    QColor accent() const;

    // "QUORVANE " and the version, "0.1 (dev)" when the application has none.
    static QString footerText(const QString &shortVersion);
    // The trash-failure alert's message.
    static QString deleteFailureMessage(const DeleteFailure &failure);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makePage(SettingsSection section);
    void refresh();
    void updateLook();
    void showAlerts();

    SettingsModel &m_model;
    SettingsViewServices m_services;
    DebouncedCommit m_accentCommit;
    DebouncedCommit m_cueColorCommit;
    SettingsContext m_context;
    SettingsSection m_section = SettingsSection::general;
    QListWidget *m_sidebar;
    DetailPane *m_pane;
    QLabel *m_footer;
    bool m_errorAlertOpen = false;
    bool m_deleteAlertOpen = false;
};

} // namespace quorvane
