#include "Calendar/WorkspaceCreateSheet.h"

#include "Calendar/CalendarModel.h"
#include "Calendar/FormGroup.h"
#include "Calendar/NameField.h"
#include "Shared/CapsuleStyle.h"
#include "Shared/Style.h"
#include "Triggers/KeyRecorder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace quorvane {

namespace {

constexpr qreal dimmed = 0.4;

// A scroll area that asks for its form's whole height, up to a limit past which it scrolls, and
// asks again whenever the form's layout changes: the window around it fits the form.
class FittingScrollArea final : public QScrollArea {
public:
    static constexpr int tallest = 520;

    QSize sizeHint() const override
    {
        QSize size = QScrollArea::sizeHint();
        if (QWidget *form = widget())
            size.setHeight(std::min(form->sizeHint().height() + 2 * frameWidth(), tallest));
        return size;
    }
    QSize minimumSizeHint() const override { return {QScrollArea::minimumSizeHint().width(), sizeHint().height()}; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }
};

QLabel *secondaryText(const QString &text, int pixelSize, QWidget *parent = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QHBoxLayout *rowLayout(QWidget *row)
{
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    return layout;
}

void fillModes(QComboBox *picker)
{
    picker->addItem(QCoreApplication::translate("WorkspaceCreateSheet", "Never"), int(ArchiveTimerMode::none));
    picker->addItem(QCoreApplication::translate("WorkspaceCreateSheet", "After idle"), int(ArchiveTimerMode::idle));
    picker->addItem(QCoreApplication::translate("WorkspaceCreateSheet", "After fixed time"), int(ArchiveTimerMode::fixed));
}

void setOpacity(QWidget *widget, qreal opacity)
{
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity);
}

} // namespace

WorkspaceCreateSheet::WorkspaceCreateSheet(CalendarModel &model, std::function<void()> onClose, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_onClose(std::move(onClose))
{
    setObjectName(QStringLiteral("workspaceCreateSheet"));
    setWindowTitle(tr("New desktop"));
    buildForm();
    capsuleButtons(this);
    connect(&m_model, &CalendarModel::configChanged, this, &WorkspaceCreateSheet::refreshFromModel);
    refreshFromModel();
}

QStringList WorkspaceCreateSheet::homes(const Config &config)
{
    QStringList names;
    const std::optional<QString> &screenshots = config.settings.screenshotsWorkspace;
    for (const Workspace &w : config.liveWorkspaces()) {
        if (w.type != WorkspaceType::permanent || w.name == Config::blankWorkspaceName)
            continue;
        if (screenshots && w.name == *screenshots)
            continue;
        names << w.name;
    }
    return names;
}

QString WorkspaceCreateSheet::daysLabel(int days)
{
    if (days == 0)
        return QStringLiteral("same day");
    return QStringLiteral("%1 day%2").arg(days).arg(days == 1 ? QString() : QStringLiteral("s"));
}

void WorkspaceCreateSheet::buildForm()
{
    setFixedWidth(formWidth);
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    auto *title = new QLabel(tr("New desktop"));
    QFont titleFont = title->font();
    titleFont.setPixelSize(17);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    title->setContentsMargins(20, 18, 20, 4);
    stack->addWidget(title);

    // The sections scroll when the temporary one does not fit; title and buttons stay.
    auto *scroll = new FittingScrollArea;
    scroll->setObjectName(QStringLiteral("formScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    auto *form = new QWidget;
    form->setAutoFillBackground(false);
    auto *sections = new QVBoxLayout(form);
    sections->setContentsMargins(20, 12, 20, 12);
    sections->setSpacing(12);
    scroll->setWidget(form);
    stack->addWidget(scroll, 1);

    // The first section: name, shortcut, carousel, type.
    auto *main = new FormGroup;
    QVBoxLayout *rows = main->rows();

    auto *nameRow = new QWidget;
    QHBoxLayout *nameLayout = rowLayout(nameRow);
    nameLayout->addWidget(new QLabel(tr("Name")));
    m_nameField = new NameField;
    m_nameField->setObjectName(QStringLiteral("name"));
    nameLayout->addWidget(m_nameField, 1);
    connect(m_nameField, &NameField::nameEdited, this, [this](const QString &name) {
        m_name = name;
        refresh();
    });
    connect(m_nameField, &NameField::submitted, this, &WorkspaceCreateSheet::create);
    rows->addWidget(nameRow);
    m_nameError = secondaryText(QString(), 12);
    m_nameError->setObjectName(QStringLiteral("nameError"));
    m_nameError->setForegroundRole(QPalette::WindowText); // the tone's colour, not the secondary one
    Style::setStatusTone(m_nameError, StatusTone::error);
    // The line keeps its room while hidden: the form does not grow when a name is refused.
    m_nameError->setMinimumHeight(m_nameError->fontMetrics().height());
    QSizePolicy keptRoom = m_nameError->sizePolicy();
    keptRoom.setRetainSizeWhenHidden(true);
    m_nameError->setSizePolicy(keptRoom);
    m_nameError->hide();
    rows->addWidget(m_nameError);

    auto *shortcutRow = new QWidget;
    QHBoxLayout *shortcutLayout = rowLayout(shortcutRow);
    shortcutLayout->addWidget(new QLabel(tr("Shortcut")));
    shortcutLayout->addStretch(1);
    shortcutLayout->addSpacing(8);
    m_shortcutRecorder = makeShortcutRecorder();
    shortcutLayout->addWidget(m_shortcutRecorder);
    rows->addWidget(shortcutRow);

    m_hint = secondaryText(
        tr("Alt+Shift with a number is a good choice, usually free."), 12);
    m_hint->setObjectName(QStringLiteral("shortcutHint"));
    rows->addWidget(m_hint);

    m_carousel = new QCheckBox(tr("Add to middle-click carousel"));
    m_carousel->setObjectName(QStringLiteral("carousel"));
    connect(m_carousel, &QCheckBox::toggled, this, [this](bool on) { m_addToCarousel = on; });
    rows->addWidget(m_carousel);
    m_capNote = secondaryText(QStringLiteral("The middle-click carousel is capped at %1 desktops. Remove one in Settings ▸ "
                                             "Shortcuts to free a slot.")
                                  .arg(AppSettings::optionClickCarouselLimit),
                              12);
    m_capNote->setObjectName(QStringLiteral("carouselCapNote"));
    rows->addWidget(m_capNote);

    auto *typeRow = new QWidget;
    QHBoxLayout *typeLayout = rowLayout(typeRow);
    typeLayout->addWidget(new QLabel(tr("Type")));
    typeLayout->addStretch(1);
    m_typeGroup = new QButtonGroup(this);
    m_typeGroup->setExclusive(true);
    const std::pair<const char *, WorkspaceType> types[] = {{"Permanent", WorkspaceType::permanent},
                                                            {"Temporary", WorkspaceType::temporary}};
    for (const auto &[label, type] : types) {
        auto *button = new QPushButton(QString::fromUtf8(label));
        button->setObjectName(QStringLiteral("type.") + QString::fromUtf8(label).toLower());
        button->setCheckable(true);
        button->setChecked(type == m_type);
        m_typeGroup->addButton(button, int(type));
        typeLayout->addWidget(button);
    }
    typeLayout->setSpacing(2);
    connect(m_typeGroup, &QButtonGroup::idClicked, this, [this](int id) {
        m_type = WorkspaceType(id);
        refresh();
    });
    rows->addWidget(typeRow);
    sections->addWidget(main);

    m_temporarySection = buildTemporarySection();
    sections->addWidget(m_temporarySection);

    auto *temporaryNote = new FormGroup;
    temporaryNote->rows()->addWidget(secondaryText(
        QStringLiteral("A temporary desktop can auto-move into another desktop or auto-archive, and drop a cleanup "
                       "reminder on the calendar. Permanent desktops stay put."),
        13));
    m_temporaryNote = temporaryNote;
    sections->addWidget(m_temporaryNote);
    auto *permanentNote = new FormGroup;
    permanentNote->rows()->addWidget(
        secondaryText(tr("Permanent desktops are always in the menu. They are never auto-archived."), 13));
    m_permanentNote = permanentNote;
    sections->addWidget(m_permanentNote);
    sections->addStretch(1);

    auto *divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setFixedHeight(1);
    divider->setForegroundRole(QPalette::Mid);
    stack->addWidget(divider);

    auto *bar = new QWidget;
    QHBoxLayout *barLayout = rowLayout(bar);
    barLayout->setContentsMargins(16, 16, 16, 16);
    barLayout->addStretch(1);
    auto *cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (m_onClose)
            m_onClose();
    });
    barLayout->addWidget(cancel);
    m_createButton = new QPushButton(tr("Create"));
    m_createButton->setObjectName(QStringLiteral("create"));
    prominentCTA(m_createButton);
    connect(m_createButton, &QPushButton::clicked, this, &WorkspaceCreateSheet::create);
    barLayout->addWidget(m_createButton);
    stack->addWidget(bar);

    // Escape is Cancel; Return elsewhere than in the name field is Create. The name field
    // claims its own Return, so one press never runs both.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *accept = new QShortcut(QKeySequence(key), this);
        connect(accept, &QShortcut::activated, this, [this] {
            if (m_createButton->isEnabled())
                create();
        });
    }
}

QWidget *WorkspaceCreateSheet::makeShortcutRecorder()
{
    auto *recorder = new KeyRecorderView;
    recorder->setObjectName(QStringLiteral("shortcut"));
    // A recorded or cleared shortcut is only remembered; nothing is stored until Create.
    recorder->setOnChange([this, recorder](std::optional<HotKeySpec> spec) {
        m_hotkey = spec;
        recorder->setSpec(spec);
    });
    return recorder;
}

QWidget *WorkspaceCreateSheet::buildTemporarySection()
{
    auto *section = new QWidget;
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(makeSectionHeader(tr("When should I remind you?")));
    auto *group = new FormGroup;
    QVBoxLayout *rows = group->rows();
    layout->addWidget(group);

    m_moveRow = new QWidget;
    m_moveRow->setObjectName(QStringLiteral("autoMoveRow"));
    QHBoxLayout *moveLayout = rowLayout(m_moveRow);
    moveLayout->addWidget(new QLabel(tr("Auto-move")));
    moveLayout->addStretch(1);
    m_moveModePicker = new QComboBox;
    m_moveModePicker->setObjectName(QStringLiteral("autoMove"));
    fillModes(m_moveModePicker);
    connect(m_moveModePicker, &QComboBox::activated, this,
            [this](int index) { setMoveMode(ArchiveTimerMode(m_moveModePicker->itemData(index).toInt())); });
    moveLayout->addWidget(m_moveModePicker);
    m_moveTargetPicker = new QComboBox;
    m_moveTargetPicker->setObjectName(QStringLiteral("moveTarget"));
    m_moveTargetPicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_moveTargetPicker, &QComboBox::activated, this, [this](int index) {
        m_moveTarget = m_moveTargetPicker->itemText(index);
        refresh();
    });
    moveLayout->addWidget(m_moveTargetPicker);
    rows->addWidget(m_moveRow);

    const auto daysRow = [this](QSpinBox *&spin, QLabel *&label, const QString &name) {
        auto *row = new QWidget;
        QHBoxLayout *l = rowLayout(row);
        l->addStretch(1);
        label = new QLabel;
        label->setForegroundRole(QPalette::PlaceholderText);
        l->addWidget(label);
        spin = new QSpinBox;
        spin->setObjectName(name);
        spin->setRange(0, 365);
        spin->setSingleStep(1);
        spin->setValue(m_days);
        connect(spin, &QSpinBox::valueChanged, this, &WorkspaceCreateSheet::setDays);
        l->addWidget(spin);
        return row;
    };
    m_moveDaysRow = daysRow(m_moveDays, m_moveDaysLabel, QStringLiteral("moveDays"));
    rows->addWidget(m_moveDaysRow);

    m_noHomeNote = secondaryText(tr("No other desktop to move into yet — create a permanent one first."), 11);
    m_noHomeNote->setObjectName(QStringLiteral("noHomeNote"));
    rows->addWidget(m_noHomeNote);

    m_archiveRow = new QWidget;
    m_archiveRow->setObjectName(QStringLiteral("autoArchiveRow"));
    QHBoxLayout *archiveLayout = rowLayout(m_archiveRow);
    archiveLayout->addWidget(new QLabel(tr("Auto-archive")));
    archiveLayout->addStretch(1);
    m_archiveModePicker = new QComboBox;
    m_archiveModePicker->setObjectName(QStringLiteral("autoArchive"));
    fillModes(m_archiveModePicker);
    connect(m_archiveModePicker, &QComboBox::activated, this,
            [this](int index) { setArchiveMode(ArchiveTimerMode(m_archiveModePicker->itemData(index).toInt())); });
    archiveLayout->addWidget(m_archiveModePicker);
    rows->addWidget(m_archiveRow);

    m_archiveDaysRow = daysRow(m_archiveDays, m_archiveDaysLabel, QStringLiteral("archiveDays"));
    rows->addWidget(m_archiveDaysRow);

    m_cleanup = new QCheckBox(tr("Add a cleanup reminder when archived"));
    m_cleanup->setObjectName(QStringLiteral("cleanupReminder"));
    m_cleanup->setChecked(m_makeCleanup);
    connect(m_cleanup, &QCheckBox::toggled, this, [this](bool on) { m_makeCleanup = on; });
    rows->addWidget(m_cleanup);
    return section;
}

void WorkspaceCreateSheet::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Shown on the first opening after installation, and for the whole of that opening.
    m_showHint = m_model.config().settings.showShortcutHint;
    if (m_showHint)
        m_model.dismissShortcutHint();
    refresh();
}

void WorkspaceCreateSheet::refreshFromModel()
{
    const Config &config = m_model.config();
    m_homes = homes(config);
    m_carouselFull = config.settings.optionClickCarousel.size() >= AppSettings::optionClickCarouselLimit;
    QPalette tint;
    if (const std::optional<QString> &accent = config.settings.appearance.accentHex) {
        const QColor color = colorFromHex(*accent);
        tint.setColor(QPalette::Active, QPalette::Highlight, color);
        tint.setColor(QPalette::Inactive, QPalette::Highlight, color);
    }
    setPalette(tint); // no accent: the highlight of the surroundings
    refresh();
}

void WorkspaceCreateSheet::setMoveMode(ArchiveTimerMode mode)
{
    m_moveMode = mode;
    if (mode != ArchiveTimerMode::none) {
        m_archiveMode = ArchiveTimerMode::none;
        if (m_moveTarget.isEmpty() && !m_homes.isEmpty())
            m_moveTarget = m_homes.first();
    }
    refresh();
}

void WorkspaceCreateSheet::setArchiveMode(ArchiveTimerMode mode)
{
    m_archiveMode = mode;
    if (mode != ArchiveTimerMode::none)
        m_moveMode = ArchiveTimerMode::none;
    refresh();
}

void WorkspaceCreateSheet::setDays(int days)
{
    m_days = days;
    refresh();
}

void WorkspaceCreateSheet::refresh()
{
    m_hint->setVisible(m_showHint);
    m_carousel->setEnabled(!m_carouselFull);
    m_capNote->setVisible(m_carouselFull);

    const bool temporary = m_type == WorkspaceType::temporary;
    m_temporarySection->setVisible(temporary);
    m_temporaryNote->setVisible(temporary);
    m_permanentNote->setVisible(!temporary);

    const bool moving = m_moveMode != ArchiveTimerMode::none;
    const bool archiving = m_archiveMode != ArchiveTimerMode::none;
    m_moveModePicker->setCurrentIndex(m_moveModePicker->findData(int(m_moveMode)));
    m_archiveModePicker->setCurrentIndex(m_archiveModePicker->findData(int(m_archiveMode)));
    QStringList listed;
    for (int i = 0; i < m_moveTargetPicker->count(); ++i)
        listed << m_moveTargetPicker->itemText(i);
    if (listed != m_homes) {
        m_moveTargetPicker->clear();
        m_moveTargetPicker->addItems(m_homes);
    }
    m_moveTargetPicker->setCurrentIndex(m_homes.indexOf(m_moveTarget));
    m_moveTargetPicker->setVisible(moving);
    m_moveRow->setEnabled(!m_homes.isEmpty());
    setOpacity(m_moveRow, archiving ? dimmed : 1.0);
    m_moveDaysRow->setVisible(moving);
    m_noHomeNote->setVisible(m_homes.isEmpty());
    setOpacity(m_archiveRow, moving ? dimmed : 1.0);
    m_archiveDaysRow->setVisible(archiving);
    for (QSpinBox *spin : {m_moveDays, m_archiveDays}) {
        const QSignalBlocker quiet(spin);
        spin->setValue(m_days);
    }
    m_moveDaysLabel->setText(daysLabel(m_days));
    m_archiveDaysLabel->setText(daysLabel(m_days));

    // A name that can't be used says why beside the field, and Create waits for a usable one.
    const std::optional<QString> problem = m_model.newWorkspaceNameProblem(m_name);
    m_nameError->setText(problem.value_or(QString()));
    m_nameError->setVisible(problem.has_value());
    m_nameField->setAccessibleDescription(problem.value_or(QString()));
    m_createButton->setEnabled(!CalendarModel::trimmedName(m_name).isEmpty() && !problem);
}

void WorkspaceCreateSheet::create()
{
    if (CalendarModel::trimmedName(m_name).isEmpty() || m_model.newWorkspaceNameProblem(m_name))
        return;
    std::optional<ArchiveTimer> timer;
    std::optional<QString> target;
    if (m_moveMode != ArchiveTimerMode::none) {
        timer = ArchiveTimer{m_moveMode, m_days};
        if (!m_moveTarget.isEmpty())
            target = m_moveTarget;
    } else if (m_archiveMode != ArchiveTimerMode::none) {
        timer = ArchiveTimer{m_archiveMode, m_days};
    }
    // A refusal is this sheet's owner's to show when it shows refusals itself.
    std::optional<CalendarModel::ErrorClaim> claim;
    if (onRefused)
        claim.emplace(m_model);
    // A message left by an earlier failure must not decide this attempt.
    m_model.setErrorMessage(std::nullopt);
    const bool stored =
        m_model.createWorkspace(m_name, m_type, timer, target, m_makeCleanup, m_hotkey, m_addToCarousel);
    if (stored) {
        if (m_onClose)
            m_onClose();
        return;
    }
    if (const std::optional<QString> message = m_model.errorMessage(); message && onRefused)
        onRefused(*message);
}

} // namespace quorvane
