#include "SettingsViews/ArchivedSortRow.h"

#include "Files/DesktopServices.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/ArchivedTrashButton.h"
#include "SettingsViews/DeskTexts.h"
#include "Shared/ElidedLabel.h"
#include "Windows/LiteralText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quorvane {

ArchivedSortRow::ArchivedSortRow(const SettingsContext &context, const Workspace &workspace, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_workspace(workspace)
    , m_date(new QLabel(this))
    , m_trash(new ArchivedTrashButton(context, workspace.name, this))
    , m_reveal(new QPushButton(tr("Open Containing Folder"), this))
    , m_sorted(new QCheckBox(tr("Sorted"), this))
{
    setAccessibleName(workspace.name);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(8);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto *name = new ElidedLabel(workspace.name, this);
    name->setTextFormat(Qt::PlainText);
    texts->addWidget(name);
    QFont caption = m_date->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_date->setFont(caption);
    plainLabel(m_date)->setForegroundRole(QPalette::PlaceholderText);
    texts->addWidget(m_date);
    row->addLayout(texts);
    row->addStretch(1);
    row->addWidget(m_trash);
    row->addWidget(m_reveal);
    row->addWidget(m_sorted);

    m_reveal->setAccessibleName(tr("Open Containing Folder of %1").arg(workspace.name));
    connect(m_reveal, &QPushButton::clicked, this, [this] {
        if (m_context.services.desktop && m_workspace.archiveLocation)
            m_context.services.desktop->reveal({*m_workspace.archiveLocation});
    });
    m_sorted->setAccessibleName(tr("Sorted %1").arg(workspace.name));
    connect(m_sorted, &QCheckBox::clicked, this,
            [this](bool on) { m_context.model.setArchivedSorted(m_workspace.name, on); });
    update(workspace);
}

void ArchivedSortRow::update(const Workspace &workspace)
{
    m_workspace = workspace;
    m_date->setVisible(workspace.archivedAt.has_value());
    if (workspace.archivedAt)
        m_date->setText(tr("archived %1").arg(abbreviatedDate(*workspace.archivedAt)));
    const bool sorted = workspace.state == WorkspaceState::archivedSorted;
    m_trash->setVisible(sorted);
    m_reveal->setVisible(workspace.archiveLocation.has_value());
    const QSignalBlocker blocker(m_sorted);
    m_sorted->setChecked(sorted);
}

} // namespace quorvane
