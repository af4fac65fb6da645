#include "SettingsViews/ShortcutsTab.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/GradualRows.h"
#include "SettingsViews/RowSync.h"
#include "SettingsViews/SettingRow.h"
#include "Shared/Style.h"
#include "Triggers/HotKeyCenter.h"
#include "Triggers/KeyRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quorvane {

namespace {

void clearChildren(QWidget *group)
{
    for (QWidget *child : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        child->hide();
        child->deleteLater();
    }
}

KeyRecorderView *recorder(const std::optional<HotKeySpec> &spec, QWidget *parent)
{
    auto *view = new KeyRecorderView(parent);
    view->setSpec(spec);
    return view;
}

// Why the session refused a key of the owner's, as its row says it.
QString refusal(ShortcutRoad road, const HotKeyAssignment::Owner &owner)
{
    if (road == ShortcutRoad::none)
        return QCoreApplication::translate("ShortcutsTab", "This session gives Quorvane no global shortcuts");
    if (road == ShortcutRoad::commandLines && !HotKeyCenter::command(owner))
        return QCoreApplication::translate("ShortcutsTab", "This action has no command line the desktop could run");
    return QCoreApplication::translate("ShortcutsTab", "In use by another program");
}

// A stored shortcut the session refused stays inactive: its row says so, and why.
void markRefused(SettingRow *row, bool refused, ShortcutRoad road, const HotKeyAssignment::Owner &owner)
{
    if (refused) {
        row->setSubtitle(refusal(road, owner));
        row->subtitleLabel()->show();
    } else if (row->subtitleLabel()) {
        row->subtitleLabel()->hide();
    }
}

} // namespace

ShortcutsTab::ShortcutsTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_desktops(new QWidget(this))
    , m_showInMenu(new QCheckBox(this))
    , m_carousel(new QWidget(this))
    , m_scroll(new QCheckBox(this))
    , m_gradual(new GradualRows(this, [this] { refresh(); }))
{
    setObjectName(QStringLiteral("shortcuts"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    SettingsModel &model = context.model;
    column->addWidget(makeNote(tr("Click a field and press your combo. A modifier (Ctrl, Alt, Shift or Super) is "
                                  "required. Press Backspace to clear, Esc to cancel."),
                               this));
    if (!context.services.shortcutLimit.isEmpty()) {
        QLabel *limit = makeNote(context.services.shortcutLimit, this);
        limit->setObjectName(QStringLiteral("shortcutLimit"));
        column->addWidget(limit);
    }

    column->addWidget(makeSectionHeader(QStringLiteral("Per-desktop"), this));
    new QVBoxLayout(m_desktops);
    m_desktops->layout()->setContentsMargins(0, 0, 0, 0);
    m_noDesktops = makeNote(tr("Create a desktop to assign a hotkey."), this);
    column->addWidget(m_noDesktops);
    column->addWidget(m_desktops);

    column->addWidget(makeSectionHeader(tr("Global"), this));
    m_globals = {
        {tr("Cycle next"), HotKeyAssignment::Owner::cycleNext(), [](const AppSettings &s) { return s.cycleNext; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setCycle(true, spec); }},
        {tr("Cycle previous"), HotKeyAssignment::Owner::cyclePrevious(), [](const AppSettings &s) { return s.cyclePrevious; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setCycle(false, spec); }},
        {tr("Switch to last desktop"), HotKeyAssignment::Owner::switchToLast(), [](const AppSettings &s) { return s.switchToLastShortcut; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setSwitchToLastShortcut(spec); }},
        {tr("Hide / show desktop"), HotKeyAssignment::Owner::hideDesktop(), [](const AppSettings &s) { return s.hideDesktopShortcut; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setHideDesktopShortcut(spec); }},
        {tr("Open Settings"), HotKeyAssignment::Owner::openSettings(), [](const AppSettings &s) { return s.openSettingsShortcut; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setOpenSettingsShortcut(spec); }},
        {tr("Open calendar"), HotKeyAssignment::Owner::openCalendar(), [](const AppSettings &s) { return s.openCalendarShortcut; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setOpenCalendarShortcut(spec); }},
        {tr("Toggle floating dock"), HotKeyAssignment::Owner::floatingDock(), [](const AppSettings &s) { return s.floatingDockShortcut; },
         [](SettingsModel &m, const std::optional<HotKeySpec> &spec) { m.setFloatingDockShortcut(spec); }},
    };
    for (Global &global : m_globals) {
        global.recorder = recorder(global.read(model.config().settings), this);
        global.row = new SettingRow(global.label, {}, {}, global.recorder, this);
        column->addWidget(global.row);
        auto write = global.write;
        global.recorder->setOnChange([&model, write](std::optional<HotKeySpec> spec) { write(model, spec); });
    }

    column->addWidget(makeSectionHeader(tr("Display in menu"), this));
    column->addWidget(new SettingRow(tr("Show assigned shortcuts in the panel menu"), {}, {},
                                     m_showInMenu, this));
    connect(m_showInMenu, &QCheckBox::clicked, this, [&model](bool on) { model.setShowShortcutsInMenu(on); });

    column->addWidget(makeSectionHeader(tr("Middle-click carousel"), this));
    auto *carouselRows = new QVBoxLayout(m_carousel);
    carouselRows->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_carousel);
    column->addWidget(makeNote(QStringLiteral("Middle-click the panel icon to jump between these desktops in order. Plain "
                                              "click still opens the menu. Leave empty to cycle every permanent desktop."),
                               this));

    column->addWidget(makeSectionHeader(tr("Scroll to cycle"), this));
    column->addWidget(
        new SettingRow(tr("Scroll over the panel icon to switch desktops"), {}, {}, m_scroll, this));
    connect(m_scroll, &QCheckBox::clicked, this, [&model](bool on) { model.setScrollToCycle(on); });
    column->addWidget(makeNote(QStringLiteral("Scrolling previews desktops in a centred pop-up; the switch happens once "
                                              "scrolling settles."),
                               this));
    column->addStretch(1);

    connect(&model, &SettingsModel::changed, this, &ShortcutsTab::refresh);
    refresh();
}

QStringList ShortcutsTab::available(const QStringList &liveNames, const QStringList &carousel, std::optional<int> stop)
{
    QSet<QString> used(carousel.begin(), carousel.end());
    if (stop && *stop >= 0 && *stop < carousel.size()) {
        // Another stop may hold the same name; only this stop's own entry is freed.
        QStringList others = carousel;
        others.removeAt(*stop);
        used = QSet<QString>(others.begin(), others.end());
    }
    QStringList names;
    for (const QString &name : liveNames) {
        if (!used.contains(name))
            names << name;
    }
    return names;
}

void ShortcutsTab::refresh()
{
    const Config &config = m_context.model.config();
    const AppSettings &settings = config.settings;
    const std::vector<Workspace> live = config.liveWorkspaces();
    QStringList liveNames;
    for (const Workspace &w : live)
        liveNames << w.name;
    refreshDesktops(live);
    for (Global &global : m_globals) {
        global.recorder->setSpec(global.read(settings));
        markRefused(global.row, m_context.model.isRefused(global.read(settings)), m_context.services.shortcutRoad,
                    global.owner);
    }
    {
        const QSignalBlocker blocker(m_showInMenu);
        m_showInMenu->setChecked(settings.showShortcutsInMenu);
    }
    {
        const QSignalBlocker blocker(m_scroll);
        m_scroll->setChecked(settings.scrollToCycle);
    }
    if (settings.optionClickCarousel != m_carouselShown || liveNames != m_carouselLive)
        rebuildCarousel(liveNames, settings.optionClickCarousel);
}

void ShortcutsTab::refreshDesktops(const std::vector<Workspace> &live)
{
    m_noDesktops->setVisible(live.empty());
    SettingsModel *model = &m_context.model;
    // Every recorder shows the stored shortcut again; a refused one disappears from its field.
    syncRows<SettingRow, Workspace>(
        m_desktops, m_desktopRows, live, std::size_t(m_gradual->allowance()), [](const Workspace &w) { return w.name; },
        [this, model, road = m_context.services.shortcutRoad](const Workspace &workspace) {
            KeyRecorderView *view = recorder(workspace.hotkey, m_desktops);
            const QString name = workspace.name;
            view->setOnChange([model, name](std::optional<HotKeySpec> spec) { model->setHotkey(name, spec); });
            auto *row = new SettingRow(name, {}, {}, view, m_desktops);
            markRefused(row, model->isRefused(workspace.hotkey), road, HotKeyAssignment::Owner::workspace(name));
            return row;
        },
        [model, road = m_context.services.shortcutRoad](SettingRow *row, const Workspace &workspace) {
            static_cast<KeyRecorderView *>(row->control())->setSpec(workspace.hotkey);
            markRefused(row, model->isRefused(workspace.hotkey), road, HotKeyAssignment::Owner::workspace(workspace.name));
            return true;
        });
    m_gradual->wanted(int(live.size()));
}

void ShortcutsTab::rebuildCarousel(const QStringList &liveNames, const QStringList &carousel)
{
    clearChildren(m_carousel);
    m_carouselShown = carousel;
    m_carouselLive = liveNames;
    auto *rows = static_cast<QVBoxLayout *>(m_carousel->layout());
    for (int i = 0; i < carousel.size(); ++i) {
        auto *picker = new QComboBox(m_carousel);
        picker->addItem(tr("Remove"), QString());
        for (const QString &name : available(liveNames, carousel, i))
            picker->addItem(name, name);
        // A stop whose name is no longer offered shows no selection.
        picker->setCurrentIndex(picker->findData(carousel[i]) > 0 ? picker->findData(carousel[i]) : -1);
        const QString label = tr("Stop %1").arg(i + 1);
        rows->addWidget(new SettingRow(label, {}, {}, picker, m_carousel));
        connect(picker, &QComboBox::activated, this,
                [this, picker, i](int index) { setStop(i, picker->itemData(index).toString()); });
    }
    const QStringList addable = available(liveNames, carousel, std::nullopt);
    if (carousel.size() < carouselLimit && !addable.isEmpty()) {
        auto *picker = new QComboBox(m_carousel);
        picker->addItem(tr("Choose…"), QString());
        for (const QString &name : addable)
            picker->addItem(name, name);
        rows->addWidget(new SettingRow(carousel.isEmpty() ? tr("Desktops") : tr("Add desktop"),
                                       {}, {}, picker, m_carousel));
        connect(picker, &QComboBox::activated, this, [this, picker](int index) {
            const QString name = picker->itemData(index).toString();
            if (name.isEmpty())
                return;
            QStringList list = m_context.model.config().settings.optionClickCarousel;
            list << name;
            m_context.model.setOptionClickCarousel(list);
        });
    }
}

void ShortcutsTab::setStop(int index, const QString &name)
{
    QStringList list = m_context.model.config().settings.optionClickCarousel;
    if (list.size() <= index)
        return;
    if (name.isEmpty())
        list.removeAt(index);
    else
        list[index] = name;
    m_context.model.setOptionClickCarousel(list);
}

std::vector<QComboBox *> ShortcutsTab::carouselPickers() const
{
    std::vector<QComboBox *> pickers;
    for (QComboBox *picker : m_carousel->findChildren<QComboBox *>()) {
        if (picker->isVisibleTo(m_carousel))
            pickers.push_back(picker);
    }
    return pickers;
}

} // namespace quorvane
