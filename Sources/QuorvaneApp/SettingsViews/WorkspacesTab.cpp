#include "SettingsViews/WorkspacesTab.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/ArchivedRow.h"
#include "SettingsViews/GradualRows.h"
#include "SettingsViews/HintBar.h"
#include "SettingsViews/ReorderableDesksList.h"
#include "SettingsViews/RowSync.h"
#include "SettingsViews/UnlistedFolderRow.h"
#include "Shared/Style.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

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
    , m_noArchived(explanation(QStringLiteral("Nothing archived yet. Archiving a desktop moves its folder into the "
                                              "archive — restore it here anytime."),
                               m_archived))
    , m_archivedRows(rowsBox(m_archived))
    , m_gradual(new GradualRows(this, [this] { refresh(); }))
{
    setObjectName(QStringLiteral("workspaces"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 16);
    column->setSpacing(12);
    column->addWidget(m_list);
    m_hintSlot->setContentsMargins(12, 0, 12, 8);
    column->addLayout(m_hintSlot);
    new QVBoxLayout(m_found);
    auto *archived = new QVBoxLayout(m_archived);
    archived->addWidget(makeSectionHeader(tr("Archived"), m_archived));
    archived->addWidget(m_noArchived);
    archived->addWidget(m_archivedRows);
    m_archivedRows->layout()->setSpacing(archived->spacing());
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
    // The live rows first, then the archived ones, within one allowance.
    const std::size_t allowance = std::size_t(m_gradual->allowance());
    const std::size_t live = std::min(allowance, users.size());
    m_list->refresh(users, config.activeWorkspace, int(live));

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
    const std::vector<Workspace> archived = config.archivedWorkspaces();
    refreshArchived(archived, allowance - live);
    m_gradual->wanted(int(users.size() + archived.size()));
}

void WorkspacesTab::rebuildFound()
{
    clear(m_found);
    const QStringList names = m_context.model.unlistedFolders();
    m_found->setVisible(!names.isEmpty());
    if (names.isEmpty())
        return;
    auto *column = static_cast<QVBoxLayout *>(m_found->layout());
    column->addWidget(makeSectionHeader(tr("Found in your desktops folder"), m_found));
    column->addWidget(explanation(QStringLiteral("These folders are in your desktops folder but aren’t desktops in "
                                                 "Quorvane. Adding one leaves its files exactly where they are."),
                                  m_found));
    for (const QString &name : names)
        column->addWidget(new UnlistedFolderRow(m_context, name, m_found));
}

void WorkspacesTab::refreshArchived(const std::vector<Workspace> &archived, std::size_t limit)
{
    m_noArchived->setVisible(archived.empty());
    // A row shows its desktop as it was built: one whose desktop changed is built again.
    syncRows<ArchivedRow, Workspace>(
        m_archivedRows, m_archivedShown, archived, limit, [](const Workspace &w) { return w.name; },
        [this](const Workspace &w) { return new ArchivedRow(m_context, w, m_archivedRows); },
        [](ArchivedRow *row, const Workspace &w) { return row->workspace() == w; });
}

} // namespace quorvane
