#include "SettingsViews/AppearanceTab.h"

#include "Appearance.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DebouncedCommit.h"
#include "SettingsViews/DesktopWallpaperEditor.h"
#include "SettingsViews/SegmentPadding.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/SettingRow.h"
#include "Shared/Style.h"
#include "Windows/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quorvane {

namespace {

struct LookEntry {
    const char *label;
    SwitchLook look;
};

constexpr LookEntry looks[] = {
    {"None", SwitchLook::none},
    {"Vertical", SwitchLook::vertical},
    {"Horizontal", SwitchLook::horizontal},
    {"Angled left", SwitchLook::angledDown},
    {"Angled right", SwitchLook::angledUp},
    {"Frost", SwitchLook::frost},
    {"Soft", SwitchLook::soft},
    {"Dark", SwitchLook::dark},
};

SegmentedControl *segments(const QString &name, const std::vector<std::pair<QString, int>> &entries, bool padded,
                           QWidget *parent)
{
    auto *control = new SegmentedControl(parent);
    control->setAccessibleName(name);
    for (const auto &[label, id] : entries)
        control->addSegment(padded ? AppearanceSegmentLabels::padded(label) : label, id);
    return control;
}

QWidget *pickerRow(const QString &title, QWidget *control, QWidget *parent)
{
    return new SettingRow(title, {}, {}, control, parent);
}

} // namespace

AppearanceTab::AppearanceTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_customAccent(colorFromHex(Appearance::defaultAccentHex))
{
    setObjectName(QStringLiteral("appearance"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    SettingsModel &model = context.model;

    column->addWidget(makeSectionHeader(tr("Theme"), this));
    m_mode = segments(tr("Appearance"),
                      {{tr("System"), int(AppearanceMode::system)},
                       {tr("Light"), int(AppearanceMode::light)},
                       {tr("Dark"), int(AppearanceMode::dark)}},
                      false, this);
    column->addWidget(pickerRow(tr("Appearance"), m_mode, this));
    connect(m_mode, &SegmentedControl::chosen, this, [&model](int id) { model.setAppearanceMode(AppearanceMode(id)); });

    auto *accentRow = new QWidget(this);
    auto *accent = new QHBoxLayout(accentRow);
    accent->setContentsMargins(0, 3, 0, 3);
    accent->setSpacing(8);
    auto *accentTitle = new QLabel(tr("Accent colour"), accentRow);
    QFont headline = accentTitle->font();
    headline.setWeight(QFont::Medium);
    accentTitle->setFont(headline);
    accent->addWidget(accentTitle);
    accent->addStretch(1);
    m_system = new ColorSwatch(QApplication::palette().color(QPalette::Highlight), 26, true, accentRow);
    m_system->setSymbol(QStringLiteral("macwindow"), Qt::white);
    m_system->setToolTip(tr("System"));
    m_system->setAccessibleName(tr("System"));
    accent->addWidget(m_system);
    connect(m_system, &ColorSwatch::clicked, this, [this] { tapSwatch(std::nullopt); });
    for (const AccentPreset &preset : Style::accentPresets()) {
        auto *swatch = new ColorSwatch(colorFromHex(preset.hex), 26, true, accentRow);
        swatch->setToolTip(preset.name);
        swatch->setAccessibleName(preset.name);
        accent->addWidget(swatch);
        const QString hex = preset.hex;
        connect(swatch, &ColorSwatch::clicked, this, [this, hex] { tapSwatch(hex); });
        m_presets.push_back(swatch);
    }
    accent->addSpacing(4);
    m_custom = new ColorSwatch(m_customAccent, 26, true, accentRow);
    m_custom->setToolTip(tr("Custom colour"));
    m_custom->setAccessibleName(tr("Custom colour"));
    accent->addWidget(m_custom);
    connect(m_custom, &ColorSwatch::clicked, this, &AppearanceTab::openPanel);
    column->addWidget(accentRow);

    column->addWidget(makeSectionHeader(tr("Switch animation"), this));
    m_look = new QComboBox(this);
    for (const LookEntry &entry : looks)
        m_look->addItem(QString::fromLatin1(entry.label), int(entry.look));
    column->addWidget(pickerRow(tr("Animation"), m_look, this));
    connect(m_look, &QComboBox::activated, this, [this, &model](int index) {
        model.stampSwitchAnimation(SwitchLook(m_look->itemData(index).toInt()), std::nullopt, std::nullopt);
    });
    auto *previewRow = new QWidget(this);
    auto *preview = new QHBoxLayout(previewRow);
    preview->setContentsMargins(0, 3, 0, 3);
    m_description = new QLabel(previewRow);
    m_description->setWordWrap(true);
    m_description->setForegroundRole(QPalette::PlaceholderText);
    preview->addWidget(m_description, 1);
    m_preview = new QPushButton(tr("Preview"), previewRow);
    preview->addWidget(m_preview);
    connect(m_preview, &QPushButton::clicked, this, [&model] {
        if (model.onPreviewTransition)
            model.onPreviewTransition();
    });
    column->addWidget(previewRow);
    m_speed = segments(tr("Speed"),
                       {{tr("Slow"), int(SwitchSpeed::slow)},
                        {tr("Normal"), int(SwitchSpeed::normal)},
                        {tr("Fast"), int(SwitchSpeed::fast)}},
                       true, this);
    m_speedRow = pickerRow(tr("Speed"), m_speed, this);
    column->addWidget(m_speedRow);
    connect(m_speed, &SegmentedControl::chosen, this,
            [&model](int id) { model.stampSwitchAnimation(std::nullopt, SwitchSpeed(id), std::nullopt); });
    m_intensity = segments(tr("Intensity"),
                           {{tr("Subtle"), int(SwitchIntensity::subtle)},
                            {tr("Medium"), int(SwitchIntensity::medium)},
                            {tr("Strong"), int(SwitchIntensity::strong)}},
                           true, this);
    m_intensityRow = pickerRow(tr("Intensity"), m_intensity, this);
    column->addWidget(m_intensityRow);
    connect(m_intensity, &SegmentedControl::chosen, this,
            [&model](int id) { model.stampSwitchAnimation(std::nullopt, std::nullopt, SwitchIntensity(id)); });

    column->addWidget(makeSectionHeader(tr("Panel icon animation"), this));
    m_menuBar = segments(tr("Panel icon animation"),
                         {{tr("Still"), int(MenuBarAnimation::none)},
                          {tr("Nudge"), int(MenuBarAnimation::nudge)},
                          {tr("Mirror"), int(MenuBarAnimation::mirror)}},
                         true, this);
    column->addWidget(pickerRow(tr("Animation"), m_menuBar, this));
    connect(m_menuBar, &SegmentedControl::chosen, this,
            [&model](int id) { model.setMenuBarAnimation(MenuBarAnimation(id)); });
    column->addWidget(new DesktopWallpaperEditor(context, this));
    column->addStretch(1);

    // Shown with the stored accent, or the default one for the system's; showing stores nothing.
    const std::optional<QString> &stored = model.config().settings.appearance.accentHex;
    setCustomAccent(colorFromHex(stored.value_or(Appearance::defaultAccentHex)));
    connect(&model, &SettingsModel::changed, this, &AppearanceTab::refresh);
    refresh();
}

QString AppearanceTab::describe(SwitchLook look)
{
    switch (look) {
    case SwitchLook::none:
        return tr("No animation on switch — the desktop simply changes.");
    case SwitchLook::vertical:
    case SwitchLook::horizontal:
    case SwitchLook::angledDown:
    case SwitchLook::angledUp:
        return tr("A band of blur sweeps across the desktop while the files change.");
    case SwitchLook::frost:
    case SwitchLook::soft:
        return tr("A blur settles over the desktop while the files change, then clears.");
    case SwitchLook::dark:
        break;
    }
    return tr("A dark blur settles over the desktop while the files change, then clears.");
}

void AppearanceTab::refresh()
{
    const AppSettings &settings = m_context.model.config().settings;
    m_mode->setCurrent(int(settings.appearance.mode));
    const std::optional<QString> &hex = settings.appearance.accentHex;
    const QString stored = hex.value_or(QString());
    bool preset = false;
    for (std::size_t i = 0; i < m_presets.size(); ++i) {
        const bool same = stored.compare(Style::accentPresets()[i].hex, Qt::CaseInsensitive) == 0;
        preset = preset || same;
        m_presets[i]->setSelected(same && !m_customSelectedOverride);
    }
    m_system->setColor(QApplication::palette().color(QPalette::Highlight));
    m_system->setSelected(!hex && !m_customSelectedOverride);
    m_custom->setSelected((hex && !preset) || m_customSelectedOverride);

    {
        const QSignalBlocker blocker(m_look);
        m_look->setCurrentIndex(m_look->findData(int(settings.switchLook)));
    }
    m_description->setText(describe(settings.switchLook));
    m_preview->setEnabled(settings.switchLook != SwitchLook::none);
    const bool animated = settings.switchLook != SwitchLook::none;
    m_speedRow->setVisible(animated);
    m_intensityRow->setVisible(animated);
    m_speed->setCurrent(int(settings.switchSpeed));
    m_intensity->setCurrent(int(settings.switchIntensity));
    m_menuBar->setCurrent(int(settings.menuBarAnimation));
}

void AppearanceTab::setCustomAccent(const QColor &color)
{
    m_customAccent = color;
    m_custom->setColor(color);
    m_custom->setSymbol(QStringLiteral("pencil"), glyphColor(color));
}

void AppearanceTab::tapSwatch(const std::optional<QString> &hex)
{
    // A colour from the panel still waiting to be stored must not undo this choice.
    m_context.accentCommit.cancel();
    m_customSelectedOverride = false;
    if (hex)
        setCustomAccent(colorFromHex(*hex));
    m_context.model.setAccent(hex);
    refresh();
}

void AppearanceTab::openPanel()
{
    if (!m_context.services.dialogs)
        return;
    QPointer<AppearanceTab> self(this);
    SettingsModel *model = &m_context.model;
    DebouncedCommit *commit = &m_context.accentCommit;
    m_context.services.dialogs->showColorPanel(
        window(), m_customAccent,
        [self, model, commit](const QColor &color) {
            if (self)
                self->setCustomAccent(color);
            const QString hex = hexString(color);
            // Holds its own value: it stores even when the page is gone by then.
            commit->start([model, hex] {
                const QString stored = model->config().settings.appearance.accentHex.value_or(QString());
                if (stored.compare(hex, Qt::CaseInsensitive) != 0)
                    model->setAccent(hex);
            });
        },
        [self] {
            if (!self)
                return;
            self->m_customSelectedOverride = true;
            self->refresh();
        });
}

} // namespace quorvane
