#pragma once

#include "CleanupTask.h"
#include "Date.h"
#include "SettingsViews/SettingsContext.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QTimeEdit;
class QToolButton;
class QVBoxLayout;

namespace quorvane {

struct Config;
class ArchivedSortRow;
class CleanupLedgerRow;
class GradualRows;
class HintBar;
class TemporaryRow;

// The Organize section: how each live temporary desktop is cleared, the archived desktops
// waiting to be ticked as sorted, the scheduled cleanups, and the cleanup reminders. It keeps
// nothing of its own; every row follows the stored document and writes through the model.
class OrganisationTab : public QWidget {
    Q_OBJECT

public:
    // One scheduled cleanup as listed: a desktop at its earliest open task.
    struct LedgerEntry {
        QString name;
        // The desktop's colour; grey when no desktop has the name.
        QString colorHex;
        Date date = 0;

        bool operator==(const LedgerEntry &) const = default;
    };
    static constexpr const char *missingDesktopHex = "#888888";

    explicit OrganisationTab(const SettingsContext &context, QWidget *parent = nullptr);

    // Each desktop of the open cleanup tasks once, at its earliest task's date, earliest first;
    // colours from config.
    static std::vector<LedgerEntry> ledgerEntries(std::vector<CleanupTask> open, const Config &config);

    // None when the page shows no such row.
    TemporaryRow *temporaryRow(const QString &name) const;
    ArchivedSortRow *archivedRow(const QString &name) const;
    CleanupLedgerRow *ledgerRow(const QString &name) const;
    // Builds the rows a long page leaves for after its first paint.
    GradualRows *gradual() const { return m_gradual; }
    HintBar *hintBar() const { return m_hint; }
    QToolButton *hintButton() const { return m_hintButton; }
    QCheckBox *remindToggle() const { return m_remind; }
    QWidget *reminderBlock() const { return m_reminders; }
    QTimeEdit *timeEditor() const { return m_time; }

private:
    // Of a group's rows, how many this refresh shows.
    using Take = std::function<std::size_t(std::size_t rows)>;

    void refresh();
    void refreshTemporary(const Config &config, const Take &take);
    void refreshArchived(const Config &config, const Take &take);
    void refreshLedger(const Config &config, const Take &take);
    void refreshReminders(const Config &config);

    const SettingsContext &m_context;
    QToolButton *m_hintButton;
    QVBoxLayout *m_hintSlot;
    HintBar *m_hint = nullptr;
    QLabel *m_noTemporary;
    QWidget *m_temporary;
    std::vector<std::pair<QString, TemporaryRow *>> m_temporaryRows;
    QLabel *m_noArchived;
    QWidget *m_archived;
    std::vector<std::pair<QString, ArchivedSortRow *>> m_archivedRows;
    QLabel *m_noLedger;
    QWidget *m_ledger;
    std::vector<std::pair<QString, CleanupLedgerRow *>> m_ledgerRows;
    QCheckBox *m_showInMenu;
    QCheckBox *m_remind;
    QWidget *m_reminders;
    QTimeEdit *m_time;
    QCheckBox *m_repeat;
    QCheckBox *m_sound;
    GradualRows *m_gradual;
};

} // namespace quorvane
