#pragma once

#include "SettingsViews/SettingsContext.h"

#include <QUuid>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace quorvane {

class CustomFilterRow;
class KeyRecorderView;
class SettingRow;

// The Advanced section: sweeping screenshots into their desktop and how they are recognised,
// the user's name rules with "Sort now", and the way into the uninstall.
class AdvancedTab : public QWidget {
    Q_OBJECT

public:
    explicit AdvancedTab(const SettingsContext &context, QWidget *parent = nullptr);

    // The sweeping toggle's write: stores the choice, then, turning it on, offers the sweep of
    // the Desktop.
    void setFilter(bool on);

    // The rule rows in stored order.
    const std::vector<CustomFilterRow *> &ruleRows() const { return m_rules; }
    CustomFilterRow *ruleRow(const QUuid &id) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refresh();
    void refreshRules();
    void resetNameDraft();
    void offerSweep();
    void addRule();

    const SettingsContext &m_context;
    QCheckBox *m_filter;
    QWidget *m_savedElsewhere;
    SettingRow *m_pauseRow;
    QCheckBox *m_pause;
    QWidget *m_identifying;
    SettingRow *m_nameRow;
    QLineEdit *m_name;

    QCheckBox *m_rulesEnabled;
    QWidget *m_rulesGroup;
    QCheckBox *m_watch;
    SettingRow *m_overruleRow;
    QCheckBox *m_overrule;
    KeyRecorderView *m_sortNowShortcut;
    QLabel *m_noRules;
    QVBoxLayout *m_ruleList;
    std::vector<CustomFilterRow *> m_rules;
    QPushButton *m_sortNow;
};

} // namespace quorvane
