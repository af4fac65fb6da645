#pragma once

#include "Desktop/AutomationPermission.h"
#include "Scheduler.h"
#include "SettingsViews/SettingsContext.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QPushButton;

namespace quorvane {

class SettingRow;

// The General section: starting at login, the desktops and archive folders, the file manager
// automation permission and the ways to reach support. The permission is read again every two
// seconds while the page is on screen.
class GeneralTab : public QWidget {
    Q_OBJECT

public:
    static constexpr double refreshInterval = 2.0;
    static constexpr double copiedFor = 2.0;

    explicit GeneralTab(const SettingsContext &context, QWidget *parent = nullptr);
    ~GeneralTab() override;

    AutomationPermission::Status automationStatus() const { return m_status; }
    SettingRow *automationRow() const { return m_automationRow; }
    // None without an identifier to register.
    QCheckBox *loginToggle() const { return m_login; }
    QPushButton *copyButton() const { return m_copy; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void refresh();
    void readAutomation();
    void showAutomation();
    void setLogin(bool on);
    void revealArchive();
    void copyDiagnostics();

    const SettingsContext &m_context;
    AutomationPermission::Status m_status;
    QCheckBox *m_login = nullptr;
    QCheckBox *m_startMinimized;
    SettingRow *m_automationRow;
    QPushButton *m_copy;
    std::optional<Scheduler::Token> m_poll;
    std::vector<Scheduler::Token> m_resets;
};

} // namespace quorvane
