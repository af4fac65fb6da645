#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Work/Scheduler.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QPushButton;

namespace quorvane {

// The General section: starting at login, the desktops and archive folders and the ways to
// reach support. (The desktop has no consent to automate the file manager, so there is no
// permission row.)
class GeneralTab : public QWidget {
    Q_OBJECT

public:
    static constexpr double copiedFor = 2.0;

    explicit GeneralTab(const SettingsContext &context, QWidget *parent = nullptr);
    ~GeneralTab() override;

    // None without an identifier to register.
    QCheckBox *loginToggle() const { return m_login; }
    QPushButton *copyButton() const { return m_copy; }

private:
    void refresh();
    void setLogin(bool on);
    void revealArchive();
    // Opens a mail to support, or without a mail application offers to copy the address.
    void emailSupport();
    void copyDiagnostics();

    const SettingsContext &m_context;
    QCheckBox *m_login = nullptr;
    QCheckBox *m_startMinimized;
    QPushButton *m_copy;
    std::vector<Scheduler::Token> m_resets;
};

} // namespace quorvane
