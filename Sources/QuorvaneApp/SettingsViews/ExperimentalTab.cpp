#include "SettingsViews/ExperimentalTab.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/EpilepsyWarningSheet.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/SpaceBindingRow.h"
#include "SettingsViews/TabChain.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/Dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <set>

namespace quorvane {

namespace {

QCheckBox *toggle(QWidget *parent)
{
    auto *box = new QCheckBox(parent);
    box->setText(QString());
    return box;
}

void makeCallout(QLabel *label)
{
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.92);
    label->setFont(font);
}

QLabel *secondaryText(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    makeCallout(label);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

// A symbol beside a callout text.
QWidget *symbolLine(const QString &symbol, QLabel *text, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(6);
    row->addWidget(SymbolIcon::label(symbol, 14, box), 0, Qt::AlignTop);
    text->setParent(box);
    row->addWidget(text, 1);
    return box;
}

} // namespace

ExperimentalTab::ExperimentalTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_spaces(context.services.spaces)
    , m_unavailable(nullptr)
    , m_spacesBox(new QWidget(this))
    , m_follow(toggle(m_spacesBox))
    , m_following(new QWidget(m_spacesBox))
    , m_description(new QLabel(m_following))
    , m_noDesktops(nullptr)
    , m_rowsColumn(nullptr)
{
    setObjectName(QStringLiteral("experimental"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    SettingsModel &model = context.model;

    column->addWidget(secondaryText(tr("Early features with rough edges still being sanded."), this));

    column->addWidget(makeSectionHeader(tr("Archive location"), this));
    auto *choose = new QPushButton(tr("Choose…"), this);
    column->addWidget(new SettingRow(tr("Choose custom archive placement"),
                                     tr("Must be on the same disk as your home directory."),
                                     QStringLiteral("archivebox"), choose, this));
    connect(choose, &QPushButton::clicked, this, &ExperimentalTab::chooseArchiveRoot);

    column->addWidget(makeSectionHeader(tr("Workspaces"), this));
    auto *explanation = new QLabel(tr("Quorvane can't read workspaces on this desktop, so "
                                      "workspace-following is unavailable. Everything else works normally."),
                                   this);
    makeCallout(explanation);
    m_unavailable = symbolLine(QStringLiteral("exclamationmark.triangle.fill"), explanation, this);
    for (QWidget *part : m_unavailable->findChildren<QLabel *>())
        Style::setStatusTone(part, StatusTone::warning);
    column->addWidget(m_unavailable);

    auto *spaces = new QVBoxLayout(m_spacesBox);
    spaces->setContentsMargins(0, 0, 0, 0);
    spaces->setSpacing(6);
    spaces->addWidget(new SettingRow(
        tr("Follow workspaces"),
        QStringLiteral("Bind desktops to workspaces below. Switching to a bound workspace — from the workspace "
                       "switcher or with its shortcut — then switches Quorvane to its desktop. The system shows one "
                       "shared desktop across workspaces, so the files follow you a moment after the switch lands."),
        QStringLiteral("rectangle.on.rectangle.angled"), m_follow, m_spacesBox));
    connect(m_follow, &QCheckBox::clicked, this, &ExperimentalTab::setFollow);

    auto *following = new QVBoxLayout(m_following);
    following->setContentsMargins(0, 0, 0, 0);
    following->setSpacing(12);
    makeCallout(m_description);
    m_description->setForegroundRole(QPalette::PlaceholderText);
    following->addWidget(symbolLine(QStringLiteral("location"), m_description, m_following));
    auto *bindings = new QLabel(tr("Bindings"), m_following);
    QFont headline = bindings->font();
    headline.setPointSizeF(headline.pointSizeF() * 1.1);
    headline.setWeight(QFont::Medium);
    bindings->setFont(headline);
    following->addWidget(bindings);
    m_noDesktops = secondaryText(tr("Create a desktop first, then bind it to a workspace."), m_following);
    following->addWidget(m_noDesktops);
    m_rowsColumn = new QVBoxLayout;
    m_rowsColumn->setSpacing(12);
    following->addLayout(m_rowsColumn);
    following->addWidget(secondaryText(
        QStringLiteral("Go to the workspace you want, then click “Bind”. A workspace holds one desktop — binding again "
                       "moves it. “Workspace missing” means the workspace was deleted; rebind or unbind in this case."),
        m_following));
    spaces->addWidget(m_following);
    column->addWidget(m_spacesBox);
    column->addStretch(1);

    connect(&model, &SettingsModel::changed, this, &ExperimentalTab::refresh);
    refresh();
}

ExperimentalTab::~ExperimentalTab()
{
    if (m_poll)
        m_context.services.scheduler->cancel(*m_poll);
    if (m_sheet)
        m_context.services.dialogs->dismissForm(m_sheet);
}

QString ExperimentalTab::currentSpaceDescription(const std::optional<SpaceInfo> &current, int spaceCount)
{
    if (!current)
        return tr("Can't read the current workspace right now.");
    if (!current->isUser)
        return tr("You're in a full-screen app — that workspace can't be bound.");
    if (current->name)
        return tr("You're on workspace %1.").arg(*current->name);
    if (!current->number)
        return tr("You're on an unrecognised workspace.");
    return tr("You're on workspace %1 of %2.").arg(*current->number).arg(spaceCount);
}

SpaceBindingRow *ExperimentalTab::bindingRow(const QString &name) const
{
    const auto it = m_rows.find(name);
    return it == m_rows.end() ? nullptr : it->second;
}

void ExperimentalTab::refresh()
{
    const AppSettings &settings = m_context.model.config().settings;
    {
        const QSignalBlocker blockFollow(m_follow);
        m_follow->setChecked(settings.followSpaces);
    }
    showSpaces();
}

void ExperimentalTab::refreshSpaces()
{
    m_current = m_spaces ? m_spaces->activeSpace() : std::nullopt;
    m_spaceCount = m_spaces ? int(m_spaces->userSpaceIdentities().size()) : 0;
    showSpaces();
}

void ExperimentalTab::showSpaces()
{
    m_available = m_spaces && m_spaces->available();
    m_unavailable->setVisible(!m_available);
    m_spacesBox->setVisible(m_available);
    if (!m_available)
        return;
    const Config &config = m_context.model.config();
    m_following->setVisible(config.settings.followSpaces);
    m_description->setText(currentSpaceDescription(m_current, m_spaceCount));

    // Rows are kept by desktop name and laid out again in stored order.
    const std::vector<Workspace> live = config.liveWorkspaces();
    bool rowsChanged = false;
    std::set<QString> names;
    for (const Workspace &w : live)
        names.insert(w.name);
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (names.count(it->first)) {
            ++it;
            continue;
        }
        delete it->second;
        it = m_rows.erase(it);
        rowsChanged = true;
    }
    while (m_rowsColumn->count() > 0)
        delete m_rowsColumn->takeAt(0);
    for (std::size_t i = 0; i < live.size(); ++i) {
        const Workspace &desktop = live[i];
        SpaceBindingRow *&row = m_rows[desktop.name];
        if (!row) {
            const QString name = desktop.name;
            row = new SpaceBindingRow(
                name, [this, name] { bind(name); },
                [this, name] { m_context.model.setSpaceBinding(name, std::nullopt); }, m_following);
            rowsChanged = true;
        }
        m_rowsColumn->addWidget(row);
        row->setDividerShown(i > 0);
        row->update(desktop, m_current, *m_spaces);
    }
    m_noDesktops->setVisible(live.empty());
    if (rowsChanged)
        chainTabsInVisualOrder(this);
}

void ExperimentalTab::bind(const QString &name)
{
    // The Space on screen at the click, not the one of the last poll.
    refreshSpaces();
    if (m_current && m_current->isUser)
        m_context.model.setSpaceBinding(name, m_current->identity);
}

void ExperimentalTab::setFollow(bool on)
{
    SettingsModel &model = m_context.model;
    if (!on) {
        model.setFollowSpaces(false);
        return;
    }
    // Turning it on only asks; the toggle keeps showing the stored value meanwhile.
    {
        const QSignalBlocker block(m_follow);
        m_follow->setChecked(model.config().settings.followSpaces);
    }
    if (m_sheet)
        return;
    QPointer<ExperimentalTab> self(this);
    auto *sheet = new EpilepsyWarningSheet(
        [self] {
            if (self)
                self->closeSheet();
        },
        [self, &model] {
            model.setFollowSpaces(true);
            if (self)
                self->closeSheet();
        });
    m_sheet = sheet;
    m_context.services.dialogs->presentForm(window(), sheet, [self] {
        if (self)
            self->m_sheet = nullptr;
    });
}

void ExperimentalTab::closeSheet()
{
    if (m_sheet)
        m_context.services.dialogs->dismissForm(m_sheet);
}

void ExperimentalTab::chooseArchiveRoot()
{
    SettingsModel &model = m_context.model;
    const std::optional<QString> &root = model.config().settings.archiveRoot;
    ChooserOptions options;
    options.directory = root ? *root : model.paths().defaultArchiveRoot();
    options.acceptLabel = tr("Use Folder");
    m_context.services.dialogs->chooseFolder(window(), options, [&model](std::optional<QString> folder) {
        if (folder && !folder->isEmpty())
            model.setArchiveRoot(*folder);
    });
}

void ExperimentalTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_poll) {
        refreshSpaces();
        m_poll = m_context.services.scheduler->every(refreshInterval, [this] { refreshSpaces(); });
    }
}

void ExperimentalTab::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_poll)
        m_context.services.scheduler->cancel(*m_poll);
    m_poll.reset();
}

} // namespace quorvane
