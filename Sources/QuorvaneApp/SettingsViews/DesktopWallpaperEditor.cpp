#include "SettingsViews/DesktopWallpaperEditor.h"

#include "Config.h"
#include "Paths.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DebouncedCommit.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/SettingRow.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/Dialogs.h"
#include "Windows/LiteralText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr int symbolSize = 20;

QCheckBox *toggle(QWidget *parent)
{
    auto *box = new QCheckBox(parent);
    box->setText(QString());
    return box;
}

void setSymbol(QLabel *label, const QString &symbol)
{
    if (label->property(SymbolIcon::property).toString() == symbol)
        return;
    label->setProperty(SymbolIcon::property, symbol);
    label->update();
}

// A symbol at the head of a hand-made row, in the rows' 24-point column.
QLabel *rowSymbol(const QString &symbol, QWidget *parent)
{
    QLabel *label = SymbolIcon::label(symbol, symbolSize, parent);
    label->setFixedWidth(24);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void check(QCheckBox *box, bool on)
{
    const QSignalBlocker blocker(box);
    box->setChecked(on);
}

// "Images (*.png *.jpg …)": every type the image reader can read.
QString imageFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    patterns.removeDuplicates();
    return QStringLiteral("Images (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

int percent(double opacity) { return int(std::lround(opacity * 100)); }

// The desktop picker: the chosen name is cut at its end when the picker is too narrow for it.
class TargetPicker final : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width());
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// Segments sharing the control's fixed width.
void spread(SegmentedControl *control, int width)
{
    control->setFixedWidth(width);
    for (int id = 0; id < control->count(); ++id) {
        if (QToolButton *segment = control->segment(id))
            segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
}

} // namespace

QString DesktopWallpaperEditor::listedName(const QString &name)
{
    int characters = 0;
    qsizetype cut = -1;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name.at(i).isLowSurrogate() && i > 0 && name.at(i - 1).isHighSurrogate())
            continue; // the second half of a character already counted
        if (characters == longName - 1)
            cut = i;
        ++characters;
    }
    if (characters < longName)
        return name;
    return name.left(cut).trimmed() + QStringLiteral("…");
}

DesktopWallpaperEditor::DesktopWallpaperEditor(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_mute(toggle(this))
    , m_empty(new QLabel(tr("Create a desktop first, then you can give it a wallpaper."), this))
    , m_body(new QWidget(this))
    , m_picker(new TargetPicker(m_body))
    , m_show(toggle(m_body))
    , m_above(toggle(m_body))
    , m_fillSymbol(rowSymbol(QStringLiteral("circle"), m_body))
    , m_imageName(new QLabel(m_body))
    , m_fillPicker(new SegmentedControl(m_body))
    , m_choose(new QPushButton(tr("Choose…"), m_body))
    , m_well(new ColorSwatch(Qt::black, 22, true, m_body))
    , m_slider(new QSlider(Qt::Horizontal, m_body))
    , m_percent(new QLabel(m_body))
    , m_preview(new WallpaperPreview(context.services.cues, m_body))
    , m_appearance(new SegmentedControl(m_body))
{
    setObjectName(QStringLiteral("wallpapers"));
    SettingsModel &model = context.model;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    column->addWidget(makeSectionHeader(tr("Wallpapers"), this));
    column->addWidget(new SettingRow(tr("Mute all wallpapers"),
                                     QStringLiteral("Master switch — hides every desktop's overlay without changing "
                                                    "its settings."),
                                     QStringLiteral("eye.slash"), m_mute, this));
    connect(m_mute, &QCheckBox::clicked, this, [&model](bool on) { model.setOverlaysMuted(on); });

    m_empty->setWordWrap(true);
    m_empty->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(m_empty);

    auto *body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(6);
    column->addWidget(m_body);

    m_picker->setMaximumWidth(140);
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    body->addWidget(new SettingRow(tr("Desktop to wallpaper"), {}, QStringLiteral("square"), m_picker, m_body));
    connect(m_picker, &QComboBox::activated, this, &DesktopWallpaperEditor::pickTarget);

    body->addWidget(new SettingRow(tr("Show wallpaper"),
                                   tr("A translucent overlay over the desktop while this one is active."),
                                   QStringLiteral("rectangle.on.rectangle"), m_show, m_body));
    connect(m_show, &QCheckBox::clicked, this, [this](bool on) { m_context.model.setCueEnabled(m_target, on); });
    body->addWidget(new SettingRow(tr("Above desktop icons"),
                                   QStringLiteral("Overlay over the icons too. Capped at 80% so they stay legible — turn "
                                                  "this off to take the overlay all the way to 100%."),
                                   QStringLiteral("rectangle.stack"), m_above, m_body));
    connect(m_above, &QCheckBox::clicked, this, [this](bool on) { m_context.model.setCueAboveIcons(m_target, on); });

    // The fill: a colour or an image.
    auto *fillRow = new QHBoxLayout;
    fillRow->setContentsMargins(0, 3, 0, 3);
    fillRow->setSpacing(12);
    m_fillSymbol->setForegroundRole(QPalette::PlaceholderText);
    fillRow->addWidget(m_fillSymbol);
    fillRow->addWidget(new QLabel(tr("Fill"), m_body));
    fillRow->addStretch(1);
    m_imageName->setForegroundRole(QPalette::PlaceholderText);
    m_imageName->setTextFormat(Qt::PlainText);
    fillRow->addWidget(m_imageName);
    fillRow->addStretch(1);
    m_fillPicker->setAccessibleName(tr("Fill"));
    m_fillPicker->addSegment(tr("Colour"), int(FillKind::color));
    m_fillPicker->addSegment(tr("Image"), int(FillKind::image));
    spread(m_fillPicker, 150);
    fillRow->addWidget(m_fillPicker);
    auto *trailing = new QHBoxLayout;
    trailing->setContentsMargins(0, 0, 0, 0);
    trailing->addStretch(1);
    m_choose->setAccessibleName(tr("Choose…"));
    trailing->addWidget(m_choose);
    m_well->setAccessibleName(tr("Colour"));
    m_well->setToolTip(tr("Colour"));
    trailing->addWidget(m_well);
    auto *trailingBox = new QWidget(m_body);
    trailingBox->setLayout(trailing);
    trailingBox->setFixedWidth(90);
    fillRow->addWidget(trailingBox);
    body->addLayout(fillRow);
    connect(m_fillPicker, &SegmentedControl::chosen, this, [this](int id) { pickFillKind(FillKind(id)); });
    connect(m_choose, &QPushButton::clicked, this, &DesktopWallpaperEditor::chooseImage);
    connect(m_well, &ColorSwatch::clicked, this, &DesktopWallpaperEditor::openColorPanel);

    // The opacity, in whole percents.
    auto *opacityRow = new QHBoxLayout;
    opacityRow->setContentsMargins(0, 3, 0, 3);
    opacityRow->setSpacing(12);
    QLabel *opacitySymbol = rowSymbol(QStringLiteral("circle.lefthalf.filled"), m_body);
    opacitySymbol->setForegroundRole(QPalette::PlaceholderText);
    opacityRow->addWidget(opacitySymbol);
    opacityRow->addSpacing(6);
    m_slider->setAccessibleName(tr("Opacity"));
    m_slider->setRange(percent(DesktopCue::minOpacity), percent(DesktopCue::maxOpacityBelowIcons));
    m_slider->setSingleStep(1);
    m_slider->setPageStep(10);
    opacityRow->addWidget(m_slider, 1);
    // Room for "100%" at any font.
    m_percent->setFixedWidth(std::max(42, m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4));
    m_percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_percent->setForegroundRole(QPalette::PlaceholderText);
    opacityRow->addWidget(m_percent);
    body->addLayout(opacityRow);
    connect(m_slider, &QSlider::valueChanged, this, &DesktopWallpaperEditor::slide);
    connect(m_slider, &QSlider::sliderReleased, this, &DesktopWallpaperEditor::commitOpacity);

    auto *previewRow = new QHBoxLayout;
    previewRow->setContentsMargins(12, 6, 12, 6);
    previewRow->addWidget(m_preview);
    body->addLayout(previewRow);

    m_appearance->addSegment(tr("System"), int(AppearanceMode::system));
    m_appearance->addSegment(tr("Light"), int(AppearanceMode::light));
    m_appearance->addSegment(tr("Dark"), int(AppearanceMode::dark));
    spread(m_appearance, 210);
    body->addWidget(new SettingRow(tr("Light / Dark mode"),
                                   tr("Takes longer to switch — not suited to rapid cycling."),
                                   QStringLiteral("circle.lefthalf.filled"), m_appearance, m_body));
    connect(m_appearance, &SegmentedControl::chosen, this,
            [this](int id) { m_context.model.setPreferredAppearance(m_target, AppearanceMode(id)); });
    if (m_context.services.cueBelowIconsUnavailable && m_context.services.cueBelowIconsUnavailable()) {
        m_ownWallpaperNote = new QLabel(
            tr("This desktop draws its own wallpaper; the cue shows above windows only"), m_body);
        m_ownWallpaperNote->setObjectName(QStringLiteral("ownWallpaper"));
        m_ownWallpaperNote->setWordWrap(true);
        m_ownWallpaperNote->setTextFormat(Qt::PlainText);
        m_ownWallpaperNote->setForegroundRole(QPalette::PlaceholderText);
        m_ownWallpaperNote->setContentsMargins(12, 0, 12, 0);
        body->addWidget(m_ownWallpaperNote);
    }
    // Asked once per editor: the answer may take the desktop's settings tool a moment.
    const auto noDarkNote = [&](const QString &text, const QString &name) {
        m_noDarkNote = new QLabel(text, m_body);
        m_noDarkNote->setObjectName(name);
        m_noDarkNote->setWordWrap(true);
        m_noDarkNote->setTextFormat(Qt::PlainText);
        m_noDarkNote->setForegroundRole(QPalette::PlaceholderText);
        m_noDarkNote->setContentsMargins(12, 0, 12, 0);
        body->addWidget(m_noDarkNote);
    };
    if (m_context.services.hasDarkSwitch && !m_context.services.hasDarkSwitch())
        noDarkNote(tr("This desktop has no dark mode to switch: Dark leaves it as it is."),
                   QStringLiteral("noDarkSwitch"));
    else if (const auto theme = m_context.services.themeWithoutDark ? m_context.services.themeWithoutDark() : std::nullopt)
        noDarkNote(tr("The theme “%1” has no dark variant: Dark leaves it light.").arg(*theme),
                   QStringLiteral("noDarkVariant"));

    connect(&model, &SettingsModel::changed, this, &DesktopWallpaperEditor::refresh);
    chooseTarget();
    load();
    refresh();
}

std::optional<DesktopCue> DesktopWallpaperEditor::cue() const
{
    const Workspace *workspace = m_context.model.config().workspace(m_target);
    if (!workspace)
        return std::nullopt;
    return workspace->cue;
}

void DesktopWallpaperEditor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    chooseTarget();
    load();
    refresh();
}

void DesktopWallpaperEditor::chooseTarget()
{
    if (!m_target.isEmpty())
        return;
    const Config &config = m_context.model.config();
    const std::vector<Workspace> live = config.liveWorkspaces();
    if (live.empty())
        return;
    const bool activeIsLive = std::any_of(live.begin(), live.end(),
                                          [&](const Workspace &w) { return w.name == config.activeWorkspace; });
    m_target = activeIsLive ? config.activeWorkspace : live.front().name;
}

void DesktopWallpaperEditor::load()
{
    const std::optional<DesktopCue> current = cue();
    m_liveOpacity = current ? current->opacity : DesktopCue::defaultOpacity;
    m_aboveIcons = current && current->aboveIcons;
    if (!current) {
        m_liveColor = Qt::black;
        m_fillKind = FillKind::color;
    } else if (current->fill.kind == DesktopCue::Fill::Kind::color) {
        m_liveColor = colorFromHex(current->fill.value);
        m_fillKind = FillKind::color;
    } else {
        m_fillKind = FillKind::image;
    }
}

void DesktopWallpaperEditor::refresh()
{
    const Config &config = m_context.model.config();
    check(m_mute, config.settings.overlaysMuted);

    QStringList names;
    for (const Workspace &w : config.liveWorkspaces())
        names.append(w.name);
    m_empty->setVisible(names.isEmpty());
    m_body->setVisible(!names.isEmpty());
    {
        const QSignalBlocker blocker(m_picker);
        if (names != m_listed) {
            m_picker->clear();
            for (const QString &name : names)
                m_picker->addItem(listedName(name), name);
            m_listed = names;
        }
        // A desktop that is no longer listed shows no choice; the editor stays on it.
        m_picker->setCurrentIndex(m_picker->findData(m_target));
    }

    const std::optional<DesktopCue> current = cue();
    check(m_show, current && current->enabled);
    const bool above = current && current->aboveIcons;
    check(m_above, above);
    if (above != m_aboveIcons) {
        m_aboveIcons = above;
        m_liveOpacity = DesktopCue::clampOpacity(m_liveOpacity, above);
    }
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setMaximum(percent(above ? DesktopCue::maxOpacityAboveIcons : DesktopCue::maxOpacityBelowIcons));
        m_slider->setValue(percent(m_liveOpacity));
    }

    const Workspace *workspace = config.workspace(m_target);
    m_appearance->setCurrent(int(workspace ? workspace->preferredAppearance : AppearanceMode::system));
    refreshFill();
}

void DesktopWallpaperEditor::refreshFill()
{
    const std::optional<DesktopCue> current = cue();
    const bool image = m_fillKind == FillKind::image;
    std::optional<QString> imagePath;
    if (current && current->fill.kind == DesktopCue::Fill::Kind::image)
        imagePath = current->fill.value;

    setSymbol(m_fillSymbol, image ? QStringLiteral("photo") : QStringLiteral("circle"));
    m_imageName->setVisible(image);
    const QString shownName = imagePath ? QFileInfo(*imagePath).fileName() : QStringLiteral("No image");
    m_imageName->setText(fontMetrics().elidedText(shownName, Qt::ElideMiddle, 160));
    m_imageName->setToolTip(imagePath ? literalToolTip(shownName) : QString());
    m_fillPicker->setCurrent(int(m_fillKind));
    m_choose->setVisible(image);
    m_well->setVisible(!image);
    // The well shows the stored colour while there is one, else the colour being edited.
    if (current && current->fill.kind == DesktopCue::Fill::Kind::color)
        m_well->setColor(colorFromHex(current->fill.value));
    else
        m_well->setColor(m_liveColor);

    m_percent->setText(QString::number(percent(m_liveOpacity)) + QLatin1Char('%'));
    m_preview->setFill(m_fillKind, m_liveColor, imagePath, m_liveOpacity);
}

void DesktopWallpaperEditor::pickTarget(int index)
{
    const QString name = m_picker->itemData(index).toString();
    if (name.isEmpty() || name == m_target)
        return;
    m_target = name;
    load();
    refresh();
}

void DesktopWallpaperEditor::pickFillKind(FillKind kind)
{
    if (kind == m_fillKind)
        return;
    m_fillKind = kind;
    if (kind == FillKind::color && !m_target.isEmpty()) {
        // Back to the colour: it is stored at once; an image is stored only once chosen.
        m_context.model.setCueColor(m_target, hexString(m_liveColor));
    }
    refreshFill();
}

void DesktopWallpaperEditor::chooseImage()
{
    Dialogs *dialogs = m_context.services.dialogs;
    if (!dialogs || m_target.isEmpty())
        return;
    ChooserOptions options;
    options.title = tr("Choose a wallpaper picture");
    options.nameFilters = {imageFilter()};
    options.acceptLabel = tr("Use Image");
    // Images are looked for in the Pictures folder first.
    options.directory = Paths::xdgUserFolder(m_context.model.paths().home(), QStringLiteral("XDG_PICTURES_DIR"),
                                             tr("Pictures"));
    SettingsModel *model = &m_context.model;
    const QString target = m_target;
    dialogs->chooseFile(window(), options, [model, target](const std::optional<QString> &file) {
        if (file)
            model->setCueImage(target, *file);
    });
}

void DesktopWallpaperEditor::openColorPanel()
{
    Dialogs *dialogs = m_context.services.dialogs;
    if (!dialogs)
        return;
    QPointer<DesktopWallpaperEditor> self(this);
    dialogs->showColorPanel(
        window(), m_well->color(),
        [self](const QColor &color) {
            if (self)
                self->takeColor(color);
        },
        {});
}

void DesktopWallpaperEditor::takeColor(const QColor &color)
{
    m_liveColor = color;
    refreshFill();
    commitColor();
}

void DesktopWallpaperEditor::commitColor()
{
    if (m_target.isEmpty())
        return;
    // The desktop and the colour are taken now: the write lands where the colour was picked,
    // whatever the editor shows by then, and even when it is gone.
    SettingsModel *model = &m_context.model;
    const QString target = m_target;
    const QString hex = hexString(m_liveColor);
    // Only a newer colour for the same desktop replaces a waiting one; one for another desktop
    // is stored first.
    DebouncedCommit &commit = m_context.cueColorCommit;
    if (commit.pending() && m_pendingFor != target)
        commit.flush();
    m_pendingFor = target;
    commit.start([model, target, hex] {
        const Workspace *workspace = model->config().workspace(target);
        if (workspace && workspace->cue && workspace->cue->fill.kind == DesktopCue::Fill::Kind::color
            && workspace->cue->fill.value.compare(hex, Qt::CaseInsensitive) == 0)
            return;
        model->setCueColor(target, hex);
    });
}

void DesktopWallpaperEditor::slide(int value)
{
    m_liveOpacity = value / 100.0;
    refreshFill();
    // A drag is stored when it ends; a step by the keyboard or the wheel at once.
    if (!m_slider->isSliderDown())
        commitOpacity();
}

void DesktopWallpaperEditor::commitOpacity()
{
    if (!m_target.isEmpty())
        m_context.model.setCueOpacity(m_target, m_liveOpacity);
}

} // namespace quorvane
