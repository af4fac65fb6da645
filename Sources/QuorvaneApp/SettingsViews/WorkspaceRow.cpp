#include "SettingsViews/WorkspaceRow.h"

#include "Settings/SettingsModel.h"
#include "Settings/SymbolIcon.h"
#include "SettingsViews/DeskMetadataRow.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTransform>
#include <QVBoxLayout>

namespace quorvane {

namespace {

// Blanks at both ends: spaces and tabs.
QString trimBlanks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(text[start]))
        ++start;
    while (end > start && blank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

} // namespace

WorkspaceRow::WorkspaceRow(const SettingsContext &context, const Workspace &workspace, bool isActive, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_workspace(workspace)
    , m_isActive(isActive)
    , m_handle(SymbolIcon::label(QStringLiteral("line.3.horizontal"), 12, this))
    , m_field(new QLineEdit(this))
    , m_screenshotMark(new QLabel(QStringLiteral("[✂]"), this))
    , m_filler(new QWidget(this))
    , m_chevron(new QToolButton(this))
{
    setAccessibleName(workspace.name);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 0, 12, 0);
    column->setSpacing(0);
    auto *top = new QWidget(this);
    top->setFixedHeight(rowHeight);
    auto *line = new QHBoxLayout(top);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    m_handle->setCursor(Qt::OpenHandCursor);
    m_handle->setAccessibleName(QStringLiteral("Reorder"));
    auto *opacity = new QGraphicsOpacityEffect(m_handle);
    opacity->setOpacity(0.55);
    m_handle->setGraphicsEffect(opacity);
    line->addWidget(m_handle);

    auto *inner = new QHBoxLayout;
    inner->setSpacing(6);
    m_field->setPlaceholderText(QStringLiteral("Name"));
    m_field->setFrame(false);
    m_field->setAccessibleName(QStringLiteral("Name of ") + workspace.name);
    m_field->setText(workspace.name);
    m_field->installEventFilter(this);
    inner->addWidget(m_field);
    m_screenshotMark->setForegroundRole(QPalette::PlaceholderText);
    m_screenshotMark->setToolTip(QStringLiteral("Screenshot collection"));
    m_screenshotMark->setAccessibleName(QStringLiteral("Screenshot collection"));
    inner->addWidget(m_screenshotMark);
    m_filler->setMinimumSize(1, 1);
    m_filler->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_filler->setAccessibleName(QStringLiteral("Switch to ") + workspace.name);
    inner->addWidget(m_filler, 1);
    m_chevron->setAutoRaise(true);
    m_chevron->setFixedSize(20, 20);
    m_chevron->setAccessibleName(QStringLiteral("Details of ") + workspace.name);
    m_chevron->setProperty(SymbolIcon::property, QStringLiteral("chevron.right"));
    inner->addWidget(m_chevron);
    line->addLayout(inner, 1);
    column->addWidget(top);

    connect(m_field, &QLineEdit::returnPressed, this, &WorkspaceRow::commitRename);
    connect(m_field, &QLineEdit::textChanged, this, &WorkspaceRow::fitField);
    connect(m_chevron, &QToolButton::clicked, this, [this] {
        if (toggleExpanded)
            toggleExpanded();
    });
    update(workspace, isActive);
    setExpanded(false);
}

void WorkspaceRow::update(const Workspace &workspace, bool isActive)
{
    const bool renamed = workspace.name != m_workspace.name;
    m_workspace = workspace;
    m_isActive = isActive;
    setAccessibleName(workspace.name);
    m_field->setAccessibleName(QStringLiteral("Name of ") + workspace.name);
    m_filler->setAccessibleName(QStringLiteral("Switch to ") + workspace.name);
    m_chevron->setAccessibleName(QStringLiteral("Details of ") + workspace.name);
    if (renamed) {
        const QSignalBlocker blocker(m_field);
        m_field->setText(workspace.name);
    }
    QFont font = m_field->font();
    font.setBold(isActive);
    m_field->setFont(font);
    fitField();
    const std::optional<QString> &collection = m_context.model.config().settings.screenshotsWorkspace;
    m_screenshotMark->setVisible(collection && *collection == workspace.name);
    if (m_metadata)
        m_metadata->update(workspace, isActive);
}

void WorkspaceRow::fitField()
{
    const QString text = m_field->text().isEmpty() ? m_field->placeholderText() : m_field->text();
    m_field->setFixedWidth(std::min(300, m_field->fontMetrics().horizontalAdvance(text) + 12));
}

void WorkspaceRow::setExpanded(bool expanded)
{
    m_expanded = expanded;
    QPixmap chevron = SymbolIcon::icon(QStringLiteral("chevron.right")).pixmap(12, 12);
    if (expanded)
        chevron = chevron.transformed(QTransform().rotate(90));
    m_chevron->setIcon(QIcon(chevron));
    m_chevron->setProperty("expanded", expanded);
    if (expanded && !m_metadata) {
        m_metadata = new DeskMetadataRow(m_context, m_workspace, m_isActive, this);
        layout()->addWidget(m_metadata);
        // Shown now, not when the layout gets round to it, so that the height the list gives
        // this row already holds the details.
        m_metadata->show();
    } else if (!expanded && m_metadata) {
        m_metadata->hide();
        m_metadata->deleteLater();
        m_metadata = nullptr;
    }
    adjustSize();
}

void WorkspaceRow::setDragging(bool dragging)
{
    if (auto *effect = qobject_cast<QGraphicsOpacityEffect *>(m_handle->graphicsEffect()))
        effect->setOpacity(dragging ? 1.0 : 0.55);
    QFont font = m_handle->font();
    font.setWeight(dragging ? QFont::Black : QFont::DemiBold);
    m_handle->setFont(font);
    setAutoFillBackground(dragging);
}

void WorkspaceRow::commitRename()
{
    const QString draft = m_field->text();
    if (trimBlanks(draft) == m_workspace.name)
        return;
    const QString oldName = m_workspace.name;
    if (onRenaming)
        onRenaming(oldName, SettingsModel::trimmedName(draft));
    m_context.model.rename(oldName, draft);
    if (onRenaming)
        onRenaming({}, {});
    const QSignalBlocker blocker(m_field);
    m_field->setText(m_workspace.name);
    fitField();
}

bool WorkspaceRow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::FocusOut)
        commitRename();
    return QWidget::eventFilter(watched, event);
}

} // namespace quorvane
