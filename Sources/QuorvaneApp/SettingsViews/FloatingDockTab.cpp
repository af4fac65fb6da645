#include "SettingsViews/FloatingDockTab.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/SegmentPadding.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/SettingRow.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Triggers/KeyRecorder.h"
#include "Windows/LiteralText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quorvane {

namespace {

constexpr FloatingDockCorner corners[] = {FloatingDockCorner::off, FloatingDockCorner::topLeft,
                                          FloatingDockCorner::topRight, FloatingDockCorner::bottomLeft,
                                          FloatingDockCorner::bottomRight};

QString baseLabel(FloatingDockCorner corner)
{
    switch (corner) {
    case FloatingDockCorner::off:
        return QCoreApplication::translate("FloatingDockTab", "Off");
    case FloatingDockCorner::topLeft:
        return QStringLiteral("Top-left");
    case FloatingDockCorner::topRight:
        return QStringLiteral("Top-right");
    case FloatingDockCorner::bottomLeft:
        return QStringLiteral("Bottom-left");
    case FloatingDockCorner::bottomRight:
        break;
    }
    return QStringLiteral("Bottom-right");
}

SegmentedControl *segments(const QString &name, const std::vector<std::pair<QString, int>> &entries, bool padded,
                           QWidget *parent)
{
    auto *control = new SegmentedControl(parent);
    control->setAccessibleName(name);
    for (const auto &[label, id] : entries)
        control->addSegment(padded ? DockSegmentLabels::padded(label) : label, id);
    return control;
}

} // namespace

FloatingDockTab::FloatingDockTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_shortcut(new KeyRecorderView(this))
    , m_corner(new QComboBox(this))
    , m_warning(new QWidget(this))
    , m_warningText(new QLabel(m_warning))
    , m_inMenu(new QCheckBox(this))
    , m_colorFolders(new QCheckBox(this))
    , m_remember(new QCheckBox(this))
    , m_flip(new QCheckBox(this))
{
    setObjectName(QStringLiteral("floatingDock"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    SettingsModel &model = context.model;

    column->addWidget(makeSectionHeader(tr("Summoning"), this));
    column->addWidget(makeNote(QStringLiteral("A floating strip of your desktops. Drag desktop files onto a folder to move "
                                              "them there, or click one to switch. Drag the background to reposition."),
                               this));
    auto *show = new QPushButton(tr("Show floating dock"), this);
    show->setAccessibleName(show->text());
    auto *showRow = new QHBoxLayout;
    showRow->addWidget(show);
    showRow->addStretch(1);
    column->addLayout(showRow);
    connect(show, &QPushButton::clicked, this, [&model] {
        if (model.onShowFloatingDock)
            model.onShowFloatingDock();
    });
    column->addWidget(new SettingRow(tr("Shortcut"), {}, {}, m_shortcut, this));
    m_shortcut->setOnChange([&model](std::optional<HotKeySpec> spec) { model.setFloatingDockShortcut(spec); });
    for (FloatingDockCorner corner : corners)
        m_corner->addItem(baseLabel(corner), int(corner));
    column->addWidget(new SettingRow(tr("Hot corner"), {}, {}, m_corner, this));
    connect(m_corner, &QComboBox::activated, this,
            [this, &model](int index) { model.setFloatingDockCorner(FloatingDockCorner(m_corner->itemData(index).toInt())); });
    auto *warningRow = new QHBoxLayout(m_warning);
    warningRow->setContentsMargins(0, 0, 0, 0);
    warningRow->addWidget(SymbolIcon::label(QStringLiteral("exclamationmark.triangle"), 14, m_warning));
    plainLabel(m_warningText)->setWordWrap(true);
    m_warningText->setForegroundRole(QPalette::PlaceholderText);
    warningRow->addWidget(m_warningText, 1);
    column->addWidget(m_warning);
    column->addWidget(new SettingRow(tr("Show in the panel menu"), {}, {}, m_inMenu, this));
    connect(m_inMenu, &QCheckBox::clicked, this, [&model](bool on) { model.setShowFloatingDockInMenu(on); });

    column->addWidget(makeSectionHeader(tr("Appearance"), this));
    m_axis = segments(tr("Layout"),
                      {{tr("Horizontal"), int(FloatingDockAxis::horizontal)},
                       {tr("Vertical"), int(FloatingDockAxis::vertical)}},
                      false, this);
    column->addWidget(new SettingRow(tr("Layout"), {}, {}, m_axis, this));
    connect(m_axis, &SegmentedControl::chosen, this, [&model](int id) { model.setFloatingDockAxis(FloatingDockAxis(id)); });
    m_size = segments(tr("Size"),
                      {{tr("System"), int(FloatingDockSize::system)},
                       {tr("Small"), int(FloatingDockSize::small)},
                       {tr("Medium"), int(FloatingDockSize::medium)},
                       {tr("Big"), int(FloatingDockSize::large)}},
                      true, this);
    column->addWidget(new SettingRow(tr("Size"), {}, {}, m_size, this));
    connect(m_size, &SegmentedControl::chosen, this, [&model](int id) { model.setFloatingDockSize(FloatingDockSize(id)); });
    m_material = segments(tr("Material"),
                          {{tr("Solid"), int(FloatingDockMaterial::solid)},
                           {tr("Glass"), int(FloatingDockMaterial::glass)},
                           {tr("Clear glass"), int(FloatingDockMaterial::clearGlass)}},
                          true, this);
    column->addWidget(new SettingRow(tr("Material"), {}, {}, m_material, this));
    connect(m_material, &SegmentedControl::chosen, this,
            [&model](int id) { model.setFloatingDockMaterial(FloatingDockMaterial(id)); });
    m_appearance = segments(tr("Light or dark"),
                            {{tr("Follow the system"), int(AppearanceMode::system)},
                             {tr("Light"), int(AppearanceMode::light)},
                             {tr("Dark"), int(AppearanceMode::dark)}},
                            false, this);
    column->addWidget(new SettingRow(tr("Light or dark"), {}, {}, m_appearance, this));
    connect(m_appearance, &SegmentedControl::chosen, this,
            [&model](int id) { model.setFloatingDockAppearance(AppearanceMode(id)); });
    column->addWidget(new SettingRow(tr("Colour the folders by desktop"), {}, {}, m_colorFolders, this));
    connect(m_colorFolders, &QCheckBox::clicked, this, [&model](bool on) { model.setFloatingDockColorFolders(on); });

    column->addWidget(makeSectionHeader(tr("Position"), this));
    column->addWidget(new SettingRow(tr("Remember the dock's last position"), {}, {}, m_remember, this));
    connect(m_remember, &QCheckBox::clicked, this, [&model](bool on) { model.setFloatingDockRememberPosition(on); });
    column->addWidget(new SettingRow(tr("Show the flip arrows"), {}, {}, m_flip, this));
    connect(m_flip, &QCheckBox::clicked, this, [&model](bool on) { model.setFloatingDockShowFlipButtons(on); });
    column->addWidget(
        makeNote(tr("Off, the dock is just its folders with a × in the corner — drag it to move it."), this));
    m_transition = segments(tr("Transition speed"), {{tr("Fast"), 1}, {tr("Slow"), 0}},
                            false, this);
    column->addWidget(new SettingRow(tr("Transition speed"), {}, {}, m_transition, this));
    connect(m_transition, &SegmentedControl::chosen, this, [&model](int id) { model.setFloatingDockFastTransition(id == 1); });
    column->addStretch(1);

    connect(&model, &SettingsModel::changed, this, &FloatingDockTab::refresh);
    refresh();
}

std::optional<QString> FloatingDockTab::occupant(FloatingDockCorner corner) const
{
    if (corner == FloatingDockCorner::off || !m_context.services.hotCornerOccupant)
        return std::nullopt;
    return m_context.services.hotCornerOccupant(corner);
}

QString FloatingDockTab::cornerLabel(FloatingDockCorner corner) const
{
    const std::optional<QString> name = occupant(corner);
    return name ? tr("%1 — used by %2").arg(baseLabel(corner), *name) : baseLabel(corner);
}

QWidget *FloatingDockTab::cornerWarning() const { return m_warning->isVisibleTo(this) ? m_warning : nullptr; }

void FloatingDockTab::refresh()
{
    const AppSettings &settings = m_context.model.config().settings;
    m_shortcut->setSpec(settings.floatingDockShortcut);
    {
        const QSignalBlocker blocker(m_corner);
        for (int i = 0; i < m_corner->count(); ++i)
            m_corner->setItemText(i, cornerLabel(FloatingDockCorner(m_corner->itemData(i).toInt())));
        m_corner->setCurrentIndex(m_corner->findData(int(settings.floatingDockCorner)));
    }
    const std::optional<QString> used = occupant(settings.floatingDockCorner);
    m_warning->setVisible(used.has_value());
    if (used)
        m_warningText->setText(tr("The system already uses this corner for %1, so both will fire. Pick a free corner, or clear "
                                  "this one in the system settings.")
                                   .arg(*used));
    auto check = [](QCheckBox *box, bool on) {
        const QSignalBlocker blocker(box);
        box->setChecked(on);
    };
    check(m_inMenu, settings.showFloatingDockInMenu);
    check(m_colorFolders, settings.floatingDockColorFolders);
    check(m_remember, settings.floatingDockRememberPosition);
    check(m_flip, settings.floatingDockShowFlipButtons);
    m_axis->setCurrent(int(settings.floatingDockAxis));
    m_size->setCurrent(int(settings.floatingDockSize));
    m_material->setCurrent(int(settings.floatingDockMaterial));
    m_appearance->setCurrent(int(settings.floatingDockAppearance));
    m_transition->setCurrent(settings.floatingDockFastTransition ? 1 : 0);
    m_transition->setEnabled(settings.floatingDockShowFlipButtons);
}

} // namespace quorvane
