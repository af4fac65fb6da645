#include "SettingsViews/DeskMetadataRow.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DeskTexts.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/TrashCircleLabel.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/Dialogs.h"
#include "Windows/LiteralText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace quorvane {

DeskMetadataRow::DeskMetadataRow(const SettingsContext &context, const Workspace &workspace, bool isActive,
                                 QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_workspace(workspace)
    , m_isActive(isActive)
    , m_lastVisit(new QLabel(this))
    , m_items(new QLabel(this))
    , m_color(new ColorSwatch(colorFromHex(workspace.effectiveColorHex()), 20, true, this))
    , m_type(new SegmentedControl(this))
    , m_archive(new QPushButton(tr("Archive"), this))
    , m_delete(new TrashCircleLabel(this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 0, 4, 10);
    row->setSpacing(8);
    row->addWidget(SymbolIcon::label(QStringLiteral("clock"), 12, this));
    plainLabel(m_lastVisit)->setObjectName(QStringLiteral("lastVisit"));
    m_lastVisit->setMinimumWidth(1);
    m_lastVisit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_lastVisit->installEventFilter(this);
    row->addWidget(m_lastVisit, 1);
    row->addWidget(SymbolIcon::label(QStringLiteral("doc"), 12, this));
    plainLabel(m_items)->setObjectName(QStringLiteral("itemCount"));
    row->addWidget(m_items);
    row->addStretch(1);
    m_color->setAccessibleName(tr("Identity colour"));
    m_color->setToolTip(tr("Identity colour — used on the cleanup calendar."));
    row->addWidget(m_color);
    m_type->addSegment(tr("Permanent"), int(WorkspaceType::permanent));
    m_type->addSegment(tr("Temporary"), int(WorkspaceType::temporary));
    m_type->setAccessibleName(tr("Type"));
    m_type->setToolTip(tr("Permanent desktops stay until you archive them yourself. Temporary desktops can "
                          "auto-archive on the schedule you set."));
    row->addWidget(m_type);
    row->addWidget(m_archive);
    m_delete->setAccessibleName(tr("Move to Trash"));
    row->addWidget(m_delete);

    connect(m_type, &SegmentedControl::chosen, this, [this](int id) { chooseType(WorkspaceType(id)); });
    connect(m_color, &ColorSwatch::clicked, this, &DeskMetadataRow::chooseColor);
    connect(m_archive, &QPushButton::clicked, this, [this] { m_context.model.archive(m_workspace.name); });
    connect(m_delete, &TrashCircleLabel::clicked, this, &DeskMetadataRow::confirmDelete);
    update(workspace, isActive);
}

void DeskMetadataRow::update(const Workspace &workspace, bool isActive)
{
    m_workspace = workspace;
    m_isActive = isActive;
    fitLastVisit();
    m_items->setText(itemsText(visibleItemCount(m_context.model.workspacesRoot() + QLatin1Char('/') + workspace.name)));
    m_color->setColor(colorFromHex(workspace.effectiveColorHex()));
    m_type->setCurrent(int(workspace.type));
    m_delete->setEnabled(!isActive);
    m_delete->setToolTip(isActive ? tr("Switch to another desktop first.")
                                  : tr("Move this desktop and its files to the Trash"));
}

bool DeskMetadataRow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lastVisit
        && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange || event->type() == QEvent::Polish))
        fitLastVisit();
    return QWidget::eventFilter(watched, event);
}

void DeskMetadataRow::fitLastVisit()
{
    const Date now = m_context.model.currentDate();
    const QString full = lastActiveText(m_workspace.lastActiveAt, now);
    const QString brief = m_workspace.lastActiveAt ? tr("Active") : tr("New");
    // The short word always has its room, at any font: the row gives way elsewhere.
    const int briefWidth = m_lastVisit->fontMetrics().horizontalAdvance(brief) + m_lastVisit->contentsMargins().left()
        + m_lastVisit->contentsMargins().right() + 2;
    if (m_lastVisit->minimumWidth() != briefWidth)
        m_lastVisit->setMinimumWidth(briefWidth);
    // Measured in the label's own width, each time the layout gives it one.
    const bool fits = m_lastVisit->fontMetrics().horizontalAdvance(full) <= m_lastVisit->contentsRect().width();
    m_lastVisit->setText(fits ? full : brief);
    m_lastVisit->setToolTip(full);
}

bool DeskMetadataRow::isScreenshotCollection() const
{
    const std::optional<QString> &collection = m_context.model.config().settings.screenshotsWorkspace;
    return collection && *collection == m_workspace.name;
}

void DeskMetadataRow::chooseType(WorkspaceType type)
{
    const QString name = m_workspace.name;
    SettingsModel *model = &m_context.model;
    if (type == WorkspaceType::temporary && isScreenshotCollection()) {
        // Shown unchanged until the user decides.
        m_type->setCurrent(int(m_workspace.type));
        if (!m_context.services.dialogs)
            return;
        Question question;
        question.title = tr("Make the Screenshots desktop temporary?");
        question.message = question.title;
        question.informativeText = QStringLiteral(
            "A temporary desktop can be auto-archived. Screenshot filtering keeps using this one until then — if it's "
            "archived, Quorvane automatically starts a new Screenshots desktop and points filtering at it.");
        question.buttons = {{tr("Make Temporary"), ButtonRole::destructive},
                            {tr("Cancel"), ButtonRole::cancel}};
        m_context.services.dialogs->ask(window(), question, [model, name](int index) {
            if (index == 0)
                model->setType(name, WorkspaceType::temporary);
        });
        return;
    }
    model->setType(name, type);
}

void DeskMetadataRow::chooseColor()
{
    if (!m_context.services.dialogs)
        return;
    SettingsModel *model = &m_context.model;
    const QString name = m_workspace.name;
    m_context.services.dialogs->pickColor(window(), m_color->color(), [model, name](std::optional<QColor> color) {
        if (color)
            model->setWorkspaceColor(name, hexString(*color));
    });
}

void DeskMetadataRow::confirmDelete()
{
    if (!m_context.services.dialogs || m_isActive)
        return;
    Question question;
    question.title = trashConfirmationTitle(m_workspace.name);
    question.message = question.title;
    question.informativeText = trashConfirmationMessage(
        visibleItemCount(m_context.model.workspacesRoot() + QLatin1Char('/') + m_workspace.name));
    question.buttons = {{tr("Move to Trash"), ButtonRole::destructive},
                        {tr("Cancel"), ButtonRole::cancel}};
    SettingsModel *model = &m_context.model;
    const QString name = m_workspace.name;
    m_context.services.dialogs->ask(window(), question, [model, name](int index) {
        if (index == 0)
            model->deleteWorkspace(name);
    });
}

} // namespace quorvane
