#pragma once

#include "SettingsViews/EpilepsyWarningSheet.h"
#include "SettingsViews/SettingsContext.h"
#include "Triggers/SpaceIdentifier.h"
#include "Work/Scheduler.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quorvane {

class SpaceBindingRow;

// The Experimental section: the archive folder and following the window manager's workspaces,
// with each desktop's binding to one. The current workspace and the number of workspaces are
// read again every two seconds while the page is on screen.
class ExperimentalTab : public QWidget {
    Q_OBJECT

public:
    static constexpr double refreshInterval = 2.0;

    explicit ExperimentalTab(const SettingsContext &context, QWidget *parent = nullptr);
    ~ExperimentalTab() override;

    // The sentence about the Space shown now.
    static QString currentSpaceDescription(const std::optional<SpaceInfo> &current, int spaceCount);

    const std::optional<SpaceInfo> &currentSpace() const { return m_current; }
    int spaceCount() const { return m_spaceCount; }
    // None while the warning is not shown.
    EpilepsyWarningSheet *warningSheet() const { return m_sheet; }
    QCheckBox *followToggle() const { return m_follow; }
    QLabel *spaceDescription() const { return m_description; }
    // The binding row of that desktop, none when it has none.
    SpaceBindingRow *bindingRow(const QString &name) const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void refresh();
    void refreshSpaces();
    void showSpaces();
    void setFollow(bool on);
    void closeSheet();
    void bind(const QString &name);
    void chooseArchiveRoot();

    const SettingsContext &m_context;
    SpaceIdentifier *m_spaces;
    std::optional<SpaceInfo> m_current;
    int m_spaceCount = 0;
    bool m_available = false;
    QPointer<EpilepsyWarningSheet> m_sheet;

    QWidget *m_unavailable;
    QWidget *m_spacesBox;
    QCheckBox *m_follow;
    QWidget *m_following;
    QLabel *m_description;
    QLabel *m_noDesktops;
    QVBoxLayout *m_rowsColumn;
    std::map<QString, SpaceBindingRow *> m_rows;
    std::optional<Scheduler::Token> m_poll;
};

} // namespace quorvane
