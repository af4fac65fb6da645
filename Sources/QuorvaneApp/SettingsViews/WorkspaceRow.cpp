#include "SettingsViews/WorkspaceRow.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/DeskMetadataRow.h"
#include "Shared/ElidingLineEdit.h"
#include "Shared/SymbolIcon.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTransform>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

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
    , m_top(new QWidget(this))
    , m_handle(SymbolIcon::label(QStringLiteral("line.3.horizontal"), 12, this))
    , m_field(new ElidingLineEdit(this))
    , m_screenshotMark(new QLabel(tr("[✂]"), this))
    , m_filler(new QWidget(this))
    , m_chevron(new QToolButton(this))
    , m_openAnimation(new QVariantAnimation(this))
{
    setAccessibleName(workspace.name);
    // The top line and the details are placed by hand (placeDetails): the row is clipped to
    // its height, which shows more of the details as it grows.
    QWidget *top = m_top;
    auto *line = new QHBoxLayout(top);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    m_handle->setCursor(Qt::OpenHandCursor);
    m_handle->setAccessibleName(tr("Reorder"));
    auto *opacity = new QGraphicsOpacityEffect(m_handle);
    opacity->setOpacity(0.55);
    m_handle->setGraphicsEffect(opacity);
    line->addWidget(m_handle);

    auto *inner = new QHBoxLayout;
    inner->setSpacing(6);
    m_field->setPlaceholderText(tr("Name"));
    m_field->setFrame(false);
    // The name reads as the row's own text, on the row's background: no field box around it.
    QPalette plain = m_field->palette();
    plain.setColor(QPalette::Base, Qt::transparent);
    m_field->setPalette(plain);
    m_field->setAccessibleName(tr("Name of %1").arg(workspace.name));
    m_field->setText(workspace.name);
    m_field->installEventFilter(this);
    inner->addWidget(m_field);
    m_screenshotMark->setForegroundRole(QPalette::PlaceholderText);
    m_screenshotMark->setToolTip(tr("Screenshot collection"));
    m_screenshotMark->setAccessibleName(tr("Screenshot collection"));
    inner->addWidget(m_screenshotMark);
    m_filler->setMinimumSize(1, 1);
    m_filler->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_filler->setAccessibleName(tr("Switch to %1").arg(workspace.name));
    inner->addWidget(m_filler, 1);
    m_chevron->setAutoRaise(true);
    m_chevron->setFixedSize(20, 20);
    m_chevron->setAccessibleName(tr("Details of %1").arg(workspace.name));
    m_chevron->setProperty(SymbolIcon::property, QStringLiteral("chevron.right"));
    inner->addWidget(m_chevron);
    line->addLayout(inner, 1);

    m_openAnimation->setDuration(openMilliseconds);
    m_openAnimation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_openAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { setOpenness(value.toDouble()); });
    connect(m_openAnimation, &QVariantAnimation::finished, this, [this] {
        if (!m_expanded && m_metadata) {
            m_metadata->hide();
            m_metadata->deleteLater();
            m_metadata = nullptr;
        }
    });

    connect(m_field, &QLineEdit::returnPressed, this, &WorkspaceRow::commitRename);
    connect(m_field, &QLineEdit::textChanged, this, &WorkspaceRow::fitField);
    connect(m_chevron, &QToolButton::clicked, this, [this] {
        if (toggleExpanded)
            toggleExpanded();
    });
    update(workspace, isActive);
    showChevron();
    placeDetails();
}

void WorkspaceRow::update(const Workspace &workspace, bool isActive)
{
    const std::optional<QString> &collection = m_context.model.config().settings.screenshotsWorkspace;
    const bool isCollection = collection && *collection == workspace.name;
    if (m_shown && workspace == m_workspace && isActive == m_isActive && isCollection == m_isCollection) {
        // The details count the folder afresh at every refresh all the same.
        if (m_metadata)
            m_metadata->update(workspace, isActive);
        return;
    }
    m_shown = true;
    m_isCollection = isCollection;
    const bool renamed = workspace.name != m_workspace.name;
    m_workspace = workspace;
    m_isActive = isActive;
    setAccessibleName(workspace.name);
    m_field->setAccessibleName(tr("Name of %1").arg(workspace.name));
    m_filler->setAccessibleName(tr("Switch to %1").arg(workspace.name));
    m_chevron->setAccessibleName(tr("Details of %1").arg(workspace.name));
    if (renamed) {
        const QSignalBlocker blocker(m_field);
        m_field->setText(workspace.name);
    }
    QFont font = m_field->font();
    font.setBold(isActive);
    m_field->setFont(font);
    fitField();
    m_screenshotMark->setVisible(isCollection);
    if (m_metadata)
        m_metadata->update(workspace, isActive);
}

void WorkspaceRow::fitField()
{
    // As wide as the name where the row has room, cut with an ellipsis where it has not.
    m_field->updateGeometry();
}

void WorkspaceRow::setExpanded(bool expanded, bool animated)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    showChevron();
    if (expanded && !m_metadata) {
        m_metadata = new DeskMetadataRow(m_context, m_workspace, m_isActive, this);
        placeDetails();
        m_metadata->show();
    }
    m_openAnimation->stop();
    if (animated) {
        m_openAnimation->setStartValue(m_openness);
        m_openAnimation->setEndValue(expanded ? 1.0 : 0.0);
        m_openAnimation->start();
        return;
    }
    setOpenness(expanded ? 1.0 : 0.0);
    if (!expanded && m_metadata) {
        m_metadata->hide();
        m_metadata->deleteLater();
        m_metadata = nullptr;
    }
}

void WorkspaceRow::showChevron()
{
    QPixmap chevron = SymbolIcon::icon(QStringLiteral("chevron.right")).pixmap(12, 12);
    if (m_expanded)
        chevron = chevron.transformed(QTransform().rotate(90));
    m_chevron->setIcon(QIcon(chevron));
    m_chevron->setProperty("expanded", m_expanded);
}

void WorkspaceRow::setOpenness(double openness)
{
    m_openness = openness;
    updateGeometry();
    if (onHeightChanged)
        onHeightChanged();
}

QSize WorkspaceRow::sizeHint() const
{
    const int details = m_metadata ? m_metadata->sizeHint().height() : 0;
    return {m_top->sizeHint().width() + 24, rowHeight + int(std::lround(m_openness * details))};
}

QList<QWidget *> WorkspaceRow::grips() const
{
    return {const_cast<WorkspaceRow *>(this), m_top, m_handle, m_field, m_screenshotMark, m_filler, m_chevron};
}

void WorkspaceRow::placeDetails()
{
    m_top->setGeometry(12, 0, std::max(0, width() - 24), rowHeight);
    if (m_metadata)
        m_metadata->setGeometry(12, rowHeight, std::max(0, width() - 24), m_metadata->sizeHint().height());
}

void WorkspaceRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeDetails();
}

void WorkspaceRow::setLifted(bool lifted)
{
    if (lifted == m_lifted)
        return;
    m_lifted = lifted;
    QWidget::update();
}

void WorkspaceRow::paintEvent(QPaintEvent *)
{
    if (!m_lifted)
        return;
    // Opaque, so the rows it passes over do not show through; tinted with the accent.
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlphaF(0.12f);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(4, 0, -4, 0), 8, 8);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape, palette().color(QPalette::Window));
    painter.fillPath(shape, tint);
}

void WorkspaceRow::setDragging(bool dragging)
{
    if (auto *effect = qobject_cast<QGraphicsOpacityEffect *>(m_handle->graphicsEffect()))
        effect->setOpacity(dragging ? 1.0 : 0.55);
    QFont font = m_handle->font();
    font.setWeight(dragging ? QFont::Black : QFont::DemiBold);
    m_handle->setFont(font);
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
