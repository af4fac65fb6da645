#include "SettingsViews/OrganisationTab.h"

#include "Config.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/ArchivedSortRow.h"
#include "SettingsViews/CleanupLedgerRow.h"
#include "SettingsViews/GradualRows.h"
#include "SettingsViews/HintBar.h"
#include "SettingsViews/RowSync.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/TemporaryRow.h"
#include "SettingsViews/TypedTimeEdit.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace quorvane {

namespace {

QCheckBox *toggle(QWidget *parent) { return new QCheckBox(parent); }

void setChecked(QCheckBox *box, bool on)
{
    const QSignalBlocker blocker(box);
    box->setChecked(on);
}

} // namespace

OrganisationTab::OrganisationTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_hintButton(new QToolButton(this))
    , m_hintSlot(new QVBoxLayout)
    , m_noTemporary(makeNote(QStringLiteral("No temporary desktops. Set one to Temporary in the desktops tab to move or "
                                            "archive it."),
                             this))
    , m_temporary(rowsBox(this))
    , m_noArchived(makeNote(tr("Nothing archived yet."), this))
    , m_archived(rowsBox(this))
    , m_noLedger(makeNote(tr("No cleanups scheduled — open the calendar and tap a date to add one."), this))
    , m_ledger(rowsBox(this))
    , m_showInMenu(new QCheckBox(tr("Show in the panel menu"), this))
    , m_remind(toggle(this))
    , m_reminders(new QWidget(this))
    , m_time(new TypedTimeEdit(m_reminders))
    , m_repeat(toggle(m_reminders))
    , m_sound(toggle(m_reminders))
    , m_gradual(new GradualRows(this, [this] { refresh(); }))
{
    setObjectName(QStringLiteral("organisation"));
    SettingsModel &model = context.model;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);

    // Temporary desktops.
    auto *header = new QHBoxLayout;
    header->setSpacing(6);
    header->addWidget(makeSectionHeader(tr("Temporary desktops"), this));
    header->addStretch(1);
    SymbolIcon::apply(m_hintButton, QStringLiteral("questionmark.circle"));
    m_hintButton->setAutoRaise(true);
    m_hintButton->setForegroundRole(QPalette::PlaceholderText);
    m_hintButton->setToolTip(tr("What are temporary desktops?"));
    m_hintButton->setAccessibleName(tr("What are temporary desktops?"));
    connect(m_hintButton, &QToolButton::clicked, this, [&model] { model.setShowMoveHint(true); });
    header->addWidget(m_hintButton);
    column->addLayout(header);
    m_hintSlot->setContentsMargins(12, 4, 12, 8);
    column->addLayout(m_hintSlot);
    column->addWidget(m_noTemporary);
    column->addWidget(m_temporary);

    // Archived desktops.
    column->addWidget(makeSectionHeader(tr("Archived — to sort"), this));
    column->addWidget(m_noArchived);
    column->addWidget(m_archived);

    // Scheduled cleanups.
    column->addWidget(makeSectionHeader(tr("Cleanup schedule"), this));
    column->addWidget(m_noLedger);
    column->addWidget(m_ledger);
    auto *calendarRow = new QHBoxLayout;
    auto *openCalendar = new QPushButton(tr("Open calendar…"), this);
    SymbolIcon::apply(openCalendar, QStringLiteral("calendar"));
    openCalendar->setAccessibleName(openCalendar->text());
    openCalendar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(openCalendar, &QPushButton::clicked, this, [this] {
        if (m_context.services.showCalendar)
            m_context.services.showCalendar();
    });
    calendarRow->addWidget(openCalendar);
    calendarRow->addSpacing(16);
    calendarRow->addStretch(1);
    m_showInMenu->setAccessibleName(m_showInMenu->text());
    calendarRow->addWidget(m_showInMenu);
    connect(m_showInMenu, &QCheckBox::clicked, this, [&model](bool on) { model.setShowCleanupCalendarInMenu(on); });
    column->addLayout(calendarRow);

    // Reminders.
    column->addWidget(makeSectionHeader(tr("Notifications"), this));
    column->addWidget(new SettingRow(tr("Remind me about cleanups"), {}, {}, m_remind, this));
    connect(m_remind, &QCheckBox::clicked, this, [&model](bool on) { model.setMuteCleanupNotifications(!on); });
    auto *block = new QVBoxLayout(m_reminders);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(6);
    m_time->setDisplayFormat(QStringLiteral("HH:mm"));
    m_time->setKeyboardTracking(false);
    m_time->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_time, &QTimeEdit::timeChanged, this,
            [&model](QTime time) { model.setCleanupNotifyMinutes(time.hour() * 60 + time.minute()); });
    // Left without a change, the field shows the stored time again (it may have changed meanwhile).
    connect(m_time, &QAbstractSpinBox::editingFinished, this, &OrganisationTab::refresh, Qt::QueuedConnection);
    block->addWidget(new SettingRow(tr("Remind at"), {}, {}, m_time, m_reminders));
    block->addWidget(new SettingRow(tr("Repeat two times weekly while overdue"), {}, {}, m_repeat, m_reminders));
    connect(m_repeat, &QCheckBox::clicked, this, [&model](bool on) { model.setCleanupNotifyRepeat(on); });
    block->addWidget(new SettingRow(tr("Sound"), {}, {}, m_sound, m_reminders));
    connect(m_sound, &QCheckBox::clicked, this, [&model](bool on) { model.setCleanupNotifySound(on); });
    column->addWidget(m_reminders);
    column->addStretch(1);

    connect(&model, &SettingsModel::changed, this, &OrganisationTab::refresh);
    refresh();
}

std::vector<OrganisationTab::LedgerEntry> OrganisationTab::ledgerEntries(std::vector<CleanupTask> tasks,
                                                                         const Config &config)
{
    std::stable_sort(tasks.begin(), tasks.end(),
                     [](const CleanupTask &a, const CleanupTask &b) { return a.date < b.date; });
    std::vector<LedgerEntry> entries;
    std::set<QString> seen;
    for (const CleanupTask &task : tasks) {
        for (const QString &name : task.members) {
            if (!seen.insert(name).second)
                continue;
            const Workspace *workspace = config.workspace(name);
            entries.push_back({name, workspace ? workspace->effectiveColorHex() : QString::fromLatin1(missingDesktopHex),
                               task.date});
        }
    }
    return entries;
}

TemporaryRow *OrganisationTab::temporaryRow(const QString &name) const { return rowNamed(m_temporaryRows, name); }

ArchivedSortRow *OrganisationTab::archivedRow(const QString &name) const { return rowNamed(m_archivedRows, name); }

CleanupLedgerRow *OrganisationTab::ledgerRow(const QString &name) const { return rowNamed(m_ledgerRows, name); }

void OrganisationTab::refresh()
{
    const Config &config = m_context.model.config();
    // The rows in the page's order share one allowance.
    std::size_t left = std::size_t(m_gradual->allowance());
    int wanted = 0;
    const auto take = [&](std::size_t rows) {
        wanted += int(rows);
        const std::size_t shown = std::min(left, rows);
        left -= shown;
        return shown;
    };
    refreshTemporary(config, take);
    refreshArchived(config, take);
    refreshLedger(config, take);
    refreshReminders(config);
    m_gradual->wanted(wanted);
}

void OrganisationTab::refreshTemporary(const Config &config, const Take &take)
{
    const bool hint = config.settings.showMoveHint;
    m_hintButton->setVisible(!hint);
    if (hint && !m_hint) {
        SettingsModel *model = &m_context.model;
        m_hint = HintBar::move([model] { model->setShowMoveHint(false); }, this);
        m_hintSlot->addWidget(m_hint);
    } else if (!hint && m_hint) {
        m_hint->hide();
        m_hint->deleteLater();
        m_hint = nullptr;
    }

    std::vector<Workspace> temporary = config.liveWorkspaces();
    std::erase_if(temporary, [](const Workspace &w) { return w.type != WorkspaceType::temporary; });
    m_noTemporary->setVisible(temporary.empty());
    syncRows<TemporaryRow, Workspace>(
        m_temporary, m_temporaryRows, temporary, take(temporary.size()), [](const Workspace &w) { return w.name; },
        [this](const Workspace &w) { return new TemporaryRow(m_context, w, m_temporary); },
        [](TemporaryRow *row, const Workspace &w) {
            row->update(w);
            return true;
        });
}

void OrganisationTab::refreshArchived(const Config &config, const Take &take)
{
    const std::vector<Workspace> archived = config.archivedWorkspaces();
    m_noArchived->setVisible(archived.empty());
    syncRows<ArchivedSortRow, Workspace>(
        m_archived, m_archivedRows, archived, take(archived.size()), [](const Workspace &w) { return w.name; },
        [this](const Workspace &w) { return new ArchivedSortRow(m_context, w, m_archived); },
        [](ArchivedSortRow *row, const Workspace &w) {
            row->update(w);
            return true;
        });
}

void OrganisationTab::refreshLedger(const Config &config, const Take &take)
{
    const std::vector<LedgerEntry> entries = ledgerEntries(config.openCleanupTasks(), config);
    m_noLedger->setVisible(entries.empty());
    const Date now = m_context.model.currentDate();
    const QDate today = CleanupLedgerRow::localDay(now);
    auto show = [today](CleanupLedgerRow *row, const LedgerEntry &entry) {
        row->update(colorFromHex(entry.colorHex), entry.date, today);
        return true;
    };
    syncRows<CleanupLedgerRow, LedgerEntry>(
        m_ledger, m_ledgerRows, entries, take(entries.size()), [](const LedgerEntry &e) { return e.name; },
        [this, show](const LedgerEntry &e) {
            auto *row = new CleanupLedgerRow(m_context, e.name, m_ledger);
            show(row, e);
            return row;
        },
        show);
}

void OrganisationTab::refreshReminders(const Config &config)
{
    const AppSettings &settings = config.settings;
    setChecked(m_showInMenu, settings.showCleanupCalendarInMenu);
    setChecked(m_remind, !settings.muteCleanupNotifications);
    m_reminders->setEnabled(!settings.muteCleanupNotifications);
    const int minutes = int(std::clamp<std::int64_t>(settings.cleanupNotifyMinutes, 0, 24 * 60 - 1));
    const QTime time(minutes / 60, minutes % 60);
    // A time being typed is the user's until the field is left: a change of the document
    // meanwhile (a save elsewhere, a reminder that ran) does not type over it.
    if (m_time->time() != time && !m_time->hasFocus()) {
        const QSignalBlocker blocker(m_time);
        m_time->setTime(time);
    }
    setChecked(m_repeat, settings.cleanupNotifyRepeat);
    setChecked(m_sound, settings.cleanupNotifySound);
}

} // namespace quorvane
