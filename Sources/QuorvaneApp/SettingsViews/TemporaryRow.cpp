#include "SettingsViews/TemporaryRow.h"

#include "Config.h"
#include "Names.h"
#include "Settings/SettingsModel.h"
#include "Shared/SymbolIcon.h"
#include "Windows/Dialogs.h"
#include "Windows/LiteralText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr int spacing = 8;

enum class Choice {
    keep,
    archive,
    home
};

QLabel *secondary(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

// The destination menu: every temporary row offers the same homes, often many. Its entries sit
// in one list model, filled in one go, and it is as wide as its widest entry, measured once for
// all rows that offer the same entries in the same font (a menu sized by its contents measures
// every entry again for each row).
class DestinationMenu final : public QComboBox {
public:
    using QComboBox::QComboBox;

    void setEntries(const QStringList &entries)
    {
        if (!m_entries) {
            m_entries = new QStringListModel(this);
            setModel(m_entries);
        }
        m_entries->setStringList(entries);
        m_textWidth = widestText(entries, font(), logicalDpiY(), fontMetrics());
        updateGeometry();
    }
    QSize sizeHint() const override
    {
        // As the menu sizes itself by its contents, from the widest text.
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QSize text(m_textWidth, std::max(int(std::ceil(QFontMetricsF(fontMetrics()).height())), 14) + 2);
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void changeEvent(QEvent *event) override
    {
        QComboBox::changeEvent(event);
        if (event->type() == QEvent::FontChange && m_entries)
            m_textWidth = widestText(m_entries->stringList(), font(), logicalDpiY(), fontMetrics());
    }

private:
    static int widestText(const QStringList &entries, const QFont &font, int dpi, const QFontMetrics &metrics)
    {
        struct Measure {
            QStringList entries;
            QFont font;
            int dpi = 0;
            int width = 0;
        };
        static Measure last;
        if (entries != last.entries || font != last.font || dpi != last.dpi) {
            int width = 0;
            for (const QString &entry : entries)
                width = std::max(width, metrics.boundingRect(entry).width());
            last = Measure{entries, font, dpi, width};
        }
        return last.width;
    }

    QStringListModel *m_entries = nullptr;
    int m_textWidth = 0;
};

void clearLayout(QLayout *layout)
{
    while (QLayoutItem *item = layout->takeAt(0))
        delete item; // the widgets stay; only their places go
}

} // namespace

TemporaryRow::TemporaryRow(const SettingsContext &context, const Workspace &workspace, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_workspace(workspace)
    , m_column(new QVBoxLayout(this))
    , m_line(new QHBoxLayout)
    , m_autoRow(new QHBoxLayout)
    , m_name(new QLabel(workspace.name, this))
    , m_arrow(SymbolIcon::label(QStringLiteral("arrow.right"), 10, this))
    , m_destination(new DestinationMenu(this))
    , m_automatically(secondary(QStringLiteral("automatically"), this))
    , m_whenControls(new QWidget(this))
    , m_when(new QComboBox(m_whenControls))
    , m_days(new QSpinBox(m_whenControls))
    , m_clear(new QPushButton(tr("now"), this))
    , m_divider(new QWidget(this))
    , m_autoLabel(new QLabel(tr("Automatically"), this))
{
    setAccessibleName(workspace.name);
    // The row's own width decides its arrangement, so its content may not hold it wide.
    m_column->setSizeConstraint(QLayout::SetNoConstraint);
    m_column->setContentsMargins(0, 2, 0, 2);
    m_column->setSpacing(6);
    m_line->setSpacing(spacing);
    m_autoRow->setSpacing(spacing);
    m_column->addLayout(m_line);
    m_column->addWidget(m_divider);
    m_column->addLayout(m_autoRow);

    QFont medium = m_name->font();
    medium.setWeight(QFont::Medium);
    m_name->setFont(medium);
    m_name->setTextFormat(Qt::PlainText);
    m_arrow->setForegroundRole(QPalette::PlaceholderText);
    m_autoLabel->setTextFormat(Qt::PlainText);

    m_destination->setAccessibleName(tr("Destination"));
    m_destination->setToolTip(
        tr("Where this desktop goes when it's cleared — kept as-is, a home folder, or the archive."));
    m_destination->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_destination, &QComboBox::activated, this, &TemporaryRow::chooseDestination);

    auto *when = new QHBoxLayout(m_whenControls);
    when->setContentsMargins(0, 0, 0, 0);
    when->setSpacing(spacing);
    m_when->setAccessibleName(tr("Automatically"));
    m_when->addItem(tr("off"), int(AutoWhen::off));
    m_when->addItem(tr("after idle"), int(AutoWhen::idle));
    m_when->addItem(tr("after fixed time"), int(AutoWhen::fixed));
    m_when->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_when->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_when, &QComboBox::activated, this, [this](int index) {
        const int days = m_workspace.timer ? int(m_workspace.timer->days) : defaultDays;
        setWhen(AutoWhen(m_when->itemData(index).toInt()), days);
    });
    // The number shows with its unit; 0 reads "same day".
    m_days->setAccessibleName(tr("Days"));
    m_days->setRange(0, maximumDays);
    m_days->setSingleStep(1);
    m_days->setKeyboardTracking(false);
    m_days->setSpecialValueText(daysText(0));
    m_days->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_days, &QSpinBox::valueChanged, this, [this](int days) {
        showDays(days); // the unit follows at once, the stored value after the write
        setWhen(currentWhen(m_workspace), days);
    });
    when->addWidget(m_when);
    when->addWidget(m_days);

    SymbolIcon::apply(m_clear, QStringLiteral("arrow.clockwise"));
    m_clear->setAccessibleName(tr("Clear %1 now").arg(workspace.name));
    connect(m_clear, &QPushButton::clicked, this, &TemporaryRow::clearNow);

    m_divider->setFixedHeight(1);
    m_divider->setAutoFillBackground(true);
    QPalette line = m_divider->palette();
    QColor faint = palette().color(QPalette::PlaceholderText);
    faint.setAlphaF(0.15);
    line.setColor(QPalette::Window, faint);
    m_divider->setPalette(line);

    update(workspace);
}

std::vector<QString> TemporaryRow::homes(const Config &config)
{
    const std::optional<QString> &screenshots = config.settings.screenshotsWorkspace;
    std::vector<QString> names;
    for (const Workspace &w : config.liveWorkspaces()) {
        if (w.type != WorkspaceType::permanent || namesEqual(w.name, Config::blankWorkspaceName))
            continue;
        if (screenshots && namesEqual(w.name, *screenshots))
            continue;
        names.push_back(w.name);
    }
    return names;
}

std::optional<QString> TemporaryRow::targetName(const Config &config, const Workspace &workspace)
{
    if (!workspace.drainTarget)
        return std::nullopt;
    const Workspace *target = config.workspace(*workspace.drainTarget);
    if (!target || target->type != WorkspaceType::permanent || target->state != WorkspaceState::active)
        return std::nullopt;
    return workspace.drainTarget;
}

TemporaryRow::AutoWhen TemporaryRow::currentWhen(const Workspace &workspace)
{
    if (!workspace.timer)
        return AutoWhen::off;
    switch (workspace.timer->mode) {
    case ArchiveTimerMode::idle:
        return AutoWhen::idle;
    case ArchiveTimerMode::fixed:
        return AutoWhen::fixed;
    case ArchiveTimerMode::none:
        break;
    }
    return AutoWhen::off;
}

QString TemporaryRow::daysText(int days)
{
    if (days == 0)
        return QStringLiteral("same day");
    return QString::number(days) + (days == 1 ? QStringLiteral(" day") : QStringLiteral(" days"));
}

void TemporaryRow::update(const Workspace &workspace)
{
    m_workspace = workspace;
    const Config &config = m_context.model.config();
    m_target = targetName(config, workspace);

    const std::vector<QString> homes = TemporaryRow::homes(config);
    if (homes != m_homes || m_destination->count() == 0) {
        const QSignalBlocker blocker(m_destination);
        QStringList entries{tr("Keep"), tr("Archive")};
        for (const QString &home : homes)
            entries << tr("→ %1").arg(home);
        static_cast<DestinationMenu *>(m_destination)->setEntries(entries);
        m_homes = homes;
    }
    int shown = 0;
    switch (workspace.clearMode) {
    case ClearMode::keep:
        shown = 0;
        break;
    case ClearMode::archive:
        shown = 1;
        break;
    case ClearMode::move:
        if (!m_target) {
            shown = 1; // the target is gone: clearing archives
            break;
        }
        // A target the menu does not offer (the screenshots desktop) shows no entry.
        shown = -1;
        for (std::size_t i = 0; i < m_homes.size(); ++i) {
            if (namesEqual(m_homes[i], *m_target))
                shown = 2 + int(i);
        }
        break;
    }
    {
        const QSignalBlocker blocker(m_destination);
        m_destination->setCurrentIndex(shown);
    }

    const AutoWhen when = currentWhen(workspace);
    {
        const QSignalBlocker blocker(m_when);
        m_when->setCurrentIndex(m_when->findData(int(when)));
    }
    m_days->setVisible(when != AutoWhen::off);
    {
        const QSignalBlocker blocker(m_days);
        const int days = workspace.timer ? int(workspace.timer->days) : defaultDays;
        showDays(days);
        // Setting the value replaces what is being typed, so only a different one is set.
        if (m_days->value() != days)
            m_days->setValue(days);
    }

    const bool isActive = namesEqual(config.activeWorkspace, workspace.name);
    m_clear->setEnabled(!isActive);
    if (isActive)
        m_clear->setToolTip(tr("Switch to another desktop first."));
    else if (workspace.clearMode == ClearMode::move && m_target)
        m_clear->setToolTip(literalToolTip(tr("Move its files into “%1” now.").arg(*m_target)));
    else
        m_clear->setToolTip(tr("Archive this desktop now."));

    m_arranged = false;
    arrange();
}

void TemporaryRow::showDays(int days)
{
    // The special text stands for 0; every other number carries its unit.
    m_days->setSuffix(days == 1 ? QStringLiteral(" day") : QStringLiteral(" days"));
}

void TemporaryRow::chooseDestination(int index)
{
    SettingsModel &model = m_context.model;
    // Keep, Archive, then the homes.
    const Choice choice = index >= 2 ? Choice::home : index == 1 ? Choice::archive
                                                                 : Choice::keep;
    switch (choice) {
    case Choice::keep:
        model.setClearDestination(m_workspace.name, ClearMode::keep, std::nullopt);
        break;
    case Choice::archive:
        model.setClearDestination(m_workspace.name, ClearMode::archive, std::nullopt);
        break;
    case Choice::home: {
        const std::size_t home = std::size_t(index - 2);
        if (home < m_homes.size())
            model.setClearDestination(m_workspace.name, ClearMode::move, m_homes[home]);
        break;
    }
    }
}

void TemporaryRow::setWhen(AutoWhen when, int days)
{
    std::optional<ArchiveTimer> timer;
    if (when == AutoWhen::idle)
        timer = ArchiveTimer{ArchiveTimerMode::idle, days};
    else if (when == AutoWhen::fixed)
        timer = ArchiveTimer{ArchiveTimerMode::fixed, days};
    const bool drains = m_workspace.clearMode == ClearMode::move && m_target.has_value();
    m_context.model.setAutoCompletion(m_workspace.name, timer, drains);
}

void TemporaryRow::clearNow()
{
    const AppSettings &settings = m_context.model.config().settings;
    if (m_workspace.clearMode == ClearMode::move && m_target) {
        if (settings.confirmDrain)
            confirmDrain(*m_target);
        else
            m_context.model.drain(m_workspace.name, *m_target);
        return;
    }
    if (settings.confirmArchive)
        confirmArchive();
    else
        m_context.model.archive(m_workspace.name);
}

void TemporaryRow::confirmDrain(const QString &target)
{
    Dialogs *dialogs = m_context.services.dialogs;
    if (!dialogs)
        return;
    const QString name = m_workspace.name;
    Question question;
    question.title = tr("Move “%1” into “%2”?").arg(name, target);
    question.message = question.title;
    question.informativeText = tr("Its files move into “%1” under a folder named “%2”. Nothing is deleted or overwritten, and the "
                                  "emptied desktop is removed.")
                                   .arg(target, name);
    question.buttons = {{tr("Move")},
                        {tr("Move, don't ask again")},
                        {tr("Cancel"), ButtonRole::cancel}};
    SettingsModel *model = &m_context.model;
    dialogs->ask(window(), question, [model, name, target](int index) {
        if (index != 0 && index != 1)
            return;
        if (index == 1)
            model->setConfirmDrain(false);
        // Only into the desktop the question named, and only while it still takes the files.
        const Workspace *workspace = model->config().workspace(name);
        if (workspace && workspace->clearMode == ClearMode::move
            && targetName(model->config(), *workspace) == std::optional<QString>(target))
            model->drain(name, target);
    });
}

void TemporaryRow::confirmArchive()
{
    Dialogs *dialogs = m_context.services.dialogs;
    if (!dialogs)
        return;
    const QString name = m_workspace.name;
    Question question;
    question.title = tr("Archive “%1”?").arg(name);
    question.message = question.title;
    question.informativeText =
        tr("Moves this desktop's folder into your archive — nothing is deleted. You can restore it anytime.");
    question.buttons = {{tr("Archive")},
                        {tr("Archive, don't ask again")},
                        {tr("Cancel"), ButtonRole::cancel}};
    SettingsModel *model = &m_context.model;
    dialogs->ask(window(), question, [model, name](int index) {
        if (index != 0 && index != 1)
            return;
        if (index == 1)
            model->setConfirmArchive(false);
        model->archive(name);
    });
}

int TemporaryRow::sentenceWidth() const
{
    std::vector<const QWidget *> parts = {m_name, m_arrow, m_destination};
    if (clears())
        parts.insert(parts.end(), {m_automatically, m_whenControls, m_clear});
    int width = 0;
    for (const QWidget *part : parts)
        width += part->sizeHint().width();
    const QMargins margins = m_column->contentsMargins();
    return width + spacing * int(parts.size() - 1) + margins.left() + margins.right();
}

QSize TemporaryRow::minimumSizeHint() const
{
    // The stacked arrangement's narrowest line.
    int line = m_name->minimumSizeHint().width() + m_arrow->sizeHint().width() + m_destination->sizeHint().width()
        + 3 * spacing;
    if (clears()) {
        line += m_clear->sizeHint().width() + spacing;
        line = std::max(line, m_autoLabel->sizeHint().width() + spacing + m_whenControls->sizeHint().width());
    }
    return {line, QWidget::minimumSizeHint().height()};
}

void TemporaryRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void TemporaryRow::arrange()
{
    const Arrangement wanted = sentenceWidth() <= width() ? Arrangement::sentence : Arrangement::stacked;
    if (m_arranged && wanted == m_arrangement)
        return;
    m_arrangement = wanted;
    m_arranged = true;
    clearLayout(m_line);
    clearLayout(m_autoRow);
    const bool clearing = clears();
    m_line->addWidget(m_name);
    m_line->addWidget(m_arrow);
    m_line->addWidget(m_destination);
    if (wanted == Arrangement::sentence) {
        m_line->addWidget(m_automatically);
        m_line->addWidget(m_whenControls);
        m_line->addWidget(m_clear);
        m_line->addStretch(1);
    } else {
        m_line->addSpacing(spacing);
        m_line->addStretch(1);
        m_line->addWidget(m_clear);
        m_autoRow->addWidget(m_autoLabel);
        m_autoRow->addStretch(1);
        m_autoRow->addWidget(m_whenControls);
    }
    m_automatically->setVisible(clearing && wanted == Arrangement::sentence);
    m_whenControls->setVisible(clearing);
    m_clear->setVisible(clearing);
    m_divider->setVisible(clearing && wanted == Arrangement::stacked);
    m_autoLabel->setVisible(clearing && wanted == Arrangement::stacked);
    updateGeometry();
}

} // namespace quorvane
