#include "SettingsViews/AdvancedTab.h"

#include "Config.h"
#include "Desktop/ScreenshotFilter.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/CustomFilterRow.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/TabChain.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Triggers/KeyRecorder.h"
#include "Windows/Dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QFont calloutFont(const QWidget *widget)
{
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * 0.92);
    return font;
}

// A symbol beside a wrapping text in the callout size.
QWidget *notice(const QString &symbol, const QString &text, bool warning, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(6);
    QLabel *icon = SymbolIcon::label(symbol, 14, box);
    auto *label = new QLabel(text, box);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(calloutFont(label));
    for (QLabel *part : {icon, label}) {
        if (warning) {
            Style::setStatusTone(part, StatusTone::warning);
        } else {
            part->setForegroundRole(QPalette::PlaceholderText);
        }
    }
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(label, 1);
    return box;
}

QCheckBox *toggle(QWidget *parent)
{
    return new QCheckBox(parent);
}

// The group that is there or not as a whole.
QWidget *group(QVBoxLayout *column, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    column->addWidget(box);
    return box;
}

void setChecked(QCheckBox *box, bool on)
{
    const QSignalBlocker blocker(box);
    box->setChecked(on);
}

QString screenshotsName()
{
    return Config::defaultScreenshotsWorkspaceName;
}

} // namespace

AdvancedTab::AdvancedTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_filter(toggle(this))
    , m_pause(toggle(this))
    , m_name(new QLineEdit(this))
    , m_rulesEnabled(toggle(this))
    , m_watch(toggle(this))
    , m_overrule(toggle(this))
    , m_sortNowShortcut(new KeyRecorderView(this))
{
    setObjectName(QStringLiteral("advanced"));
    SettingsModel &model = context.model;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);

    column->addWidget(makeSectionHeader(tr("Screenshots"), this));
    column->addWidget(new SettingRow(
        tr("Filter screenshots into a collection"),
        tr("Whenever you switch desktops, screenshots are swept off the current one into a “%1” desktop — keeping the rest clean.")
            .arg(screenshotsName()),
        QStringLiteral("scissors"), m_filter, this));
    connect(m_filter, &QCheckBox::clicked, this, &AdvancedTab::setFilter);
    m_savedElsewhere = notice(QStringLiteral("info.circle"),
                              QStringLiteral("Your screenshots currently save somewhere other than the Desktop, so there's "
                                             "nothing to filter. Change where they save in your screenshot tool's "
                                             "preferences."),
                              false, this);
    column->addWidget(m_savedElsewhere);
    m_pauseRow = new SettingRow(tr("Show a pause toggle in the panel"),
                                QStringLiteral("Adds a “Screenshot filtering” item to the panel menu, so you can pause "
                                               "and resume sweeping without opening Settings."),
                                QStringLiteral("pause.circle"), m_pause, this);
    column->addWidget(m_pauseRow);
    connect(m_pause, &QCheckBox::clicked, this, [&model](bool on) { model.setShowScreenshotPauseInMenu(on); });

    m_identifying = group(column, this);
    QLayout *identifying = m_identifying->layout();
    identifying->addWidget(makeSectionHeader(tr("Identifying screenshots"), m_identifying));
    // No file index records screen captures here: a screenshot is an image file named with the
    // word below, so name matching is always on and has no switch of its own.
    m_name->setFixedWidth(160);
    m_nameRow = new SettingRow(tr("Screenshot name"),
                               QStringLiteral("The word your screenshot tool names screenshots with. Leave blank to "
                                              "use the system default."),
                               QStringLiteral("character.cursor.ibeam"), m_name, m_identifying);
    identifying->addWidget(m_nameRow);
    // Only Return writes; leaving the field keeps the draft unwritten.
    connect(m_name, &QLineEdit::returnPressed, this,
            [this, &model] { model.setScreenshotNamePrefix(SettingsModel::trimmedName(m_name->text())); });

    column->addWidget(makeSectionHeader(tr("Custom filtering"), this));
    column->addWidget(new SettingRow(tr("Sort files by name into desktops"),
                                     QStringLiteral("Your own rules: a file whose name contains a word is swept into a "
                                                    "desktop you pick. Applied when you switch desktops and when you "
                                                    "choose Sort now."),
                                     QStringLiteral("line.3.horizontal.decrease.circle"), m_rulesEnabled, this));
    connect(m_rulesEnabled, &QCheckBox::clicked, this, [&model](bool on) { model.setCustomFiltersEnabled(on); });
    m_rulesGroup = group(column, this);
    QLayout *rules = m_rulesGroup->layout();
    rules->addWidget(new SettingRow(tr("Sort automatically on desktop changes"),
                                    QStringLiteral("Also re-sort the moment you rename or drop a file on the Desktop, not "
                                                   "just when you switch. No known drawbacks besides performance."),
                                    QStringLiteral("bolt"), m_watch, m_rulesGroup));
    connect(m_watch, &QCheckBox::clicked, this, [&model](bool on) { model.setCustomFiltersWatch(on); });
    m_overruleRow = new SettingRow(tr("Screenshots take priority over rules"),
                                   QStringLiteral("When a file is both a screenshot and matches a rule, send it to the "
                                                  "Screenshots collection. Off: rules win, and screenshot filtering runs "
                                                  "last."),
                                   QStringLiteral("arrow.up.arrow.down"), m_overrule, m_rulesGroup);
    rules->addWidget(m_overruleRow);
    connect(m_overrule, &QCheckBox::clicked, this, [&model](bool on) { model.setScreenshotsOverruleCustom(on); });
    rules->addWidget(
        new SettingRow(tr("Sort now shortcut"), {}, QStringLiteral("keyboard"), m_sortNowShortcut, m_rulesGroup));
    m_sortNowShortcut->setOnChange([&model](std::optional<HotKeySpec> spec) { model.setSortNowShortcut(spec); });

    auto *block = new QWidget(m_rulesGroup);
    auto *blockColumn = new QVBoxLayout(block);
    blockColumn->setContentsMargins(0, 6, 0, 0);
    blockColumn->setSpacing(12);
    auto *headline = new QLabel(tr("Filename custom filter rules"), block);
    QFont headlineFont = headline->font();
    headlineFont.setWeight(QFont::Medium);
    headline->setFont(headlineFont);
    blockColumn->addWidget(headline);
    m_noRules = new QLabel(tr("No rules yet. Add one, then type a word and the desktop to sort matching files "
                              "into."),
                           block);
    m_noRules->setWordWrap(true);
    m_noRules->setFont(calloutFont(m_noRules));
    m_noRules->setForegroundRole(QPalette::PlaceholderText);
    blockColumn->addWidget(m_noRules);
    m_ruleList = new QVBoxLayout;
    m_ruleList->setSpacing(12);
    blockColumn->addLayout(m_ruleList);
    auto *buttons = new QHBoxLayout;
    auto *add = new QPushButton(tr("Add rule"), block);
    add->setAccessibleName(add->text());
    SymbolIcon::apply(add, QStringLiteral("plus"));
    buttons->addWidget(add);
    buttons->addStretch(1);
    m_sortNow = new QPushButton(tr("Sort now"), block);
    m_sortNow->setAccessibleName(m_sortNow->text());
    buttons->addWidget(m_sortNow);
    blockColumn->addLayout(buttons);
    rules->addWidget(block);
    connect(add, &QPushButton::clicked, this, &AdvancedTab::addRule);
    connect(m_sortNow, &QPushButton::clicked, this, [&model] {
        if (model.onSweepNow)
            model.onSweepNow();
    });

    column->addWidget(makeSectionHeader(tr("Uninstall"), this));
    auto *uninstall = new QPushButton(tr("Uninstall…"), this);
    column->addWidget(new SettingRow(tr("Uninstall Quorvane…"),
                                     tr("Puts every desktop back on your Desktop as a normal folder, removes "
                                        "Quorvane from autostart, and opens its folder in your file manager so you "
                                        "can delete it."),
                                     QStringLiteral("trash"), uninstall, this));
    connect(uninstall, &QPushButton::clicked, this, [&model] {
        if (model.onUninstall)
            model.onUninstall();
    });
    column->addStretch(1);

    connect(&model, &SettingsModel::changed, this, &AdvancedTab::refresh);
    refresh();
}

CustomFilterRow *AdvancedTab::ruleRow(const QUuid &id) const
{
    for (CustomFilterRow *row : m_rules) {
        if (row->filter().id == id)
            return row;
    }
    return nullptr;
}

void AdvancedTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    resetNameDraft();
    refresh();
}

void AdvancedTab::resetNameDraft()
{
    const QSignalBlocker blocker(m_name);
    m_name->setText(m_context.model.config().settings.screenshotNamePrefix.value_or(QString()));
}

void AdvancedTab::setFilter(bool on)
{
    SettingsModel &model = m_context.model;
    // What follows depends on the choice, not on whether storing it worked.
    model.setFilterScreenshots(on);
    if (!on)
        return;
    offerSweep();
}

void AdvancedTab::offerSweep()
{
    Dialogs *dialogs = m_context.services.dialogs;
    if (!dialogs || !m_context.model.screenshotsSaveToDesktop())
        return;
    Question question;
    question.message = tr("Sweep screenshots already on this desktop?");
    question.informativeText = tr("Move any screenshots currently on your desktop into “%1” now. Otherwise, filtering starts with "
                                  "your next desktop switch.")
                                   .arg(screenshotsName());
    question.buttons = {{tr("Sweep Now")}, {tr("Not Now")}};
    question.style = AlertStyle::informational;
    SettingsModel *model = &m_context.model;
    dialogs->askModal(window(), question, [model](int index) {
        if (index == 0 && model->onSweepNow)
            model->onSweepNow();
    });
}

void AdvancedTab::addRule()
{
    QSet<QUuid> before;
    for (const CustomFilter &rule : m_context.model.config().settings.customFilters)
        before.insert(rule.id);
    m_context.model.addCustomFilter();
    const auto &rules = m_context.model.config().settings.customFilters;
    if (rules.empty() || before.contains(rules.back().id))
        return;
    if (CustomFilterRow *row = ruleRow(rules.back().id)) {
        // The new row shows once its layout has run; focus then lands in its word field.
        row->show();
        row->wordField()->setFocus(Qt::OtherFocusReason);
    }
}

void AdvancedTab::refresh()
{
    const SettingsModel &model = m_context.model;
    const AppSettings &settings = model.config().settings;
    const bool sweeping = settings.filterScreenshots;
    setChecked(m_filter, sweeping);
    m_savedElsewhere->setVisible(sweeping && !model.screenshotsSaveToDesktop());
    m_pauseRow->setVisible(sweeping);
    setChecked(m_pause, settings.showScreenshotPauseInMenu);
    m_identifying->setVisible(sweeping);
    m_name->setPlaceholderText(ScreenshotFilter::effectiveNamePrefix(settings.screenshotNamePrefix));

    setChecked(m_rulesEnabled, settings.customFiltersEnabled);
    m_rulesGroup->setVisible(settings.customFiltersEnabled);
    setChecked(m_watch, settings.customFiltersWatch);
    m_overruleRow->setVisible(sweeping);
    setChecked(m_overrule, settings.screenshotsOverruleCustom);
    m_sortNowShortcut->setSpec(settings.sortNowShortcut);
    refreshRules();
}

void AdvancedTab::refreshRules()
{
    const Config &config = m_context.model.config();
    const std::vector<CustomFilter> &filters = config.settings.customFilters;
    QStringList liveNames;
    for (const Workspace &w : config.liveWorkspaces())
        liveNames << w.name;

    QHash<QUuid, CustomFilterRow *> kept;
    for (CustomFilterRow *row : m_rules)
        kept.insert(row->filter().id, row);
    std::vector<CustomFilterRow *> rows;
    for (const CustomFilter &filter : filters) {
        CustomFilterRow *row = kept.take(filter.id);
        if (row) {
            row->update(filter, liveNames);
        } else {
            row = new CustomFilterRow(m_context, filter, liveNames, m_ruleList->parentWidget());
        }
        rows.push_back(row);
    }
    for (CustomFilterRow *row : std::as_const(kept)) {
        m_ruleList->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    // Laid out again in stored order; a row that stays keeps its widget and its typing.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (m_ruleList->indexOf(rows[i]) != int(i)) {
            m_ruleList->removeWidget(rows[i]);
            m_ruleList->insertWidget(int(i), rows[i]);
        }
    }
    m_rules = std::move(rows);
    m_noRules->setVisible(filters.empty());
    m_sortNow->setVisible(!filters.empty());

    // Tab goes through the rules where they stand, not after the rest of the page.
    chainTabsInVisualOrder(this);
}

} // namespace quorvane
