#include "SettingsViews/WorkspacesTab.h"

#include "Settings/SettingsModel.h"
#include "Shared/Style.h"
#include "SettingsViews/ArchivedRow.h"
#include "SettingsViews/HintBar.h"
#include "SettingsViews/ReorderableDesksList.h"
#include "SettingsViews/UnlistedFolderRow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QLabel *explanation(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

void clear(QWidget *group)
{
    for (QWidget *child : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        child->hide();
        child->deleteLater();
    }
}

} // namespace

WorkspacesTab::WorkspacesTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_list(new ReorderableDesksList(context, this))
    , m_hintSlot(new QVBoxLayout)
    , m_found(new QWidget(this))
    , m_archived(new QWidget(this))
{
    setObjectName(QStringLiteral("workspaces"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 16);
    column->setSpacing(12);
    column->addWidget(m_list);
    m_hintSlot->setContentsMargins(12, 0, 12, 8);
    column->addLayout(m_hintSlot);
    new QVBoxLayout(m_found);
    new QVBoxLayout(m_archived);
    column->addWidget(m_found);
    column->addWidget(m_archived);
    column->addStretch(1);
    connect(&context.model, &SettingsModel::changed, this, &WorkspacesTab::refresh);
    refresh();
}

void WorkspacesTab::refresh()
{
    const Config &config = m_context.model.config();
    std::vector<Workspace> users;
    for (const Workspace &workspace : config.workspaces) {
        if (workspace.state == WorkspaceState::active && workspace.name != Config::blankWorkspaceName)
            users.push_back(workspace);
    }
    m_list->refresh(users, config.activeWorkspace);

    if (config.settings.showDeskListHint && !m_hint) {
        SettingsModel *model = &m_context.model;
        m_hint = HintBar::deskList([model] { model->dismissDeskListHint(); }, this);
        m_hintSlot->addWidget(m_hint);
    } else if (!config.settings.showDeskListHint && m_hint) {
        m_hint->hide();
        m_hint->deleteLater();
        m_hint = nullptr;
    }
    rebuildFound();
    rebuildArchived();
}

void WorkspacesTab::rebuildFound()
{
    clear(m_found);
    const QStringList names = m_context.model.unlistedFolders();
    m_found->setVisible(!names.isEmpty());
    if (names.isEmpty())
        return;
    auto *column = static_cast<QVBoxLayout *>(m_found->layout());
    column->addWidget(makeSectionHeader(QStringLiteral("Found in your desktops folder"), m_found));
    column->addWidget(explanation(QStringLiteral("These folders are in your desktops folder but aren’t desktops in "
                                                 "Quorvane. Adding one leaves its files exactly where they are."),
                                  m_found));
    for (const QString &name : names)
        column->addWidget(new UnlistedFolderRow(m_context, name, m_found));
}

void WorkspacesTab::rebuildArchived()
{
    clear(m_archived);
    auto *column = static_cast<QVBoxLayout *>(m_archived->layout());
    column->addWidget(makeSectionHeader(QStringLiteral("Archived"), m_archived));
    const std::vector<Workspace> archived = m_context.model.config().archivedWorkspaces();
    if (archived.empty())
        column->addWidget(explanation(QStringLiteral("Nothing archived yet. Archiving a desktop moves its folder into the "
                                                     "archive — restore it here anytime."),
                                      m_archived));
    for (const Workspace &workspace : archived)
        column->addWidget(new ArchivedRow(m_context, workspace, m_archived));
}

} // namespace quorvane
