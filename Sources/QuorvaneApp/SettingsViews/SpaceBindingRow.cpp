#include "SettingsViews/SpaceBindingRow.h"

#include "SettingsViews/ColorSwatch.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/LiteralText.h"

#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvane {

SpaceBindingRow::SpaceBindingRow(const QString &name, std::function<void()> bind, std::function<void()> unbind,
                                 QWidget *parent)
    : QWidget(parent)
    , m_name(name)
    , m_divider(new QFrame(this))
    , m_dot(new ColorSwatch(QColor(), 10, false, this))
    , m_nameLabel(new QLabel(name, this))
    , m_binding(new QLabel(this))
    , m_bind(new QPushButton(tr("Bind"), this))
    , m_unbind(new QToolButton(this))
{
    setObjectName(name);
    setAccessibleName(name);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    m_divider->setFrameShape(QFrame::HLine);
    m_divider->setFrameShadow(QFrame::Plain);
    auto *faint = new QGraphicsOpacityEffect(m_divider);
    faint->setOpacity(0.5);
    m_divider->setGraphicsEffect(faint);
    column->addWidget(m_divider);

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(m_dot, 0, Qt::AlignVCenter);
    m_nameLabel->setTextFormat(Qt::PlainText);
    row->addWidget(m_nameLabel, 0, Qt::AlignVCenter);
    row->addSpacing(12 - row->spacing());
    row->addStretch(1);
    QFont callout = m_binding->font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    m_binding->setFont(callout);
    row->addWidget(m_binding, 0, Qt::AlignVCenter);
    m_bind->setAccessibleName(tr("Bind %1").arg(name));
    row->addWidget(m_bind, 0, Qt::AlignVCenter);
    SymbolIcon::apply(m_unbind, QStringLiteral("xmark.circle"));
    m_unbind->setAutoRaise(true);
    m_unbind->setToolTip(tr("Unbind"));
    m_unbind->setAccessibleName(tr("Unbind %1").arg(name));
    row->addWidget(m_unbind, 0, Qt::AlignVCenter);
    column->addLayout(row);

    connect(m_bind, &QPushButton::clicked, this, [bind = std::move(bind)] { bind(); });
    connect(m_unbind, &QToolButton::clicked, this, [unbind = std::move(unbind)] { unbind(); });
}

QString SpaceBindingRow::bindingLabel(const std::optional<QString> &space, const SpaceIdentifier &spaces)
{
    if (!space)
        return tr("Not bound");
    // A workspace known by its name stays bound while the window manager has removed it.
    if (const std::optional<QString> name = spaces.spaceName(*space))
        return tr("Workspace %1").arg(*name);
    if (const std::optional<int> number = spaces.userSpaceNumber(*space))
        return tr("Workspace %1").arg(*number);
    return tr("Workspace missing");
}

void SpaceBindingRow::update(const Workspace &desktop, const std::optional<SpaceInfo> &current,
                             const SpaceIdentifier &spaces)
{
    m_dot->setColor(colorFromHex(desktop.colorHex));
    const QString label = bindingLabel(desktop.spaceUUID, spaces);
    plainLabel(m_binding)->setText(label);
    if (label == QLatin1String("Workspace missing")) {
        Style::setStatusTone(m_binding, StatusTone::warning);
        m_binding->setForegroundRole(QPalette::WindowText);
    } else {
        Style::setStatusTone(m_binding, std::nullopt);
        m_binding->setForegroundRole(QPalette::PlaceholderText);
    }

    const bool boundHere = desktop.spaceUUID && current && *desktop.spaceUUID == current->identity;
    const bool bindable = current && current->isUser;
    m_bind->setText(boundHere ? tr("Bound to this workspace") : tr("Bind"));
    m_bind->setEnabled(bindable && !boundHere);
    m_bind->setToolTip(literalToolTip(
        bindable ? tr("Bind “%1” to the workspace you're on now.").arg(desktop.name)
                 : tr("Leave the full-screen app first — full-screen workspaces can't be bound.")));
    m_unbind->setVisible(desktop.spaceUUID.has_value());
}

void SpaceBindingRow::setDividerShown(bool shown)
{
    m_divider->setVisible(shown);
}

} // namespace quorvane
