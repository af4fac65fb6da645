#include "SettingsViews/SettingsView.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/GradualRows.h"
#include "SettingsViews/SettingsPages.h"
#include "SettingsViews/TabChain.h"
#include "Shared/CapsuleStyle.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Shared/Theme.h"
#include "Windows/Dialogs.h"
#include "Windows/LiteralText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace quorvane {

namespace {

constexpr int sectionRole = Qt::UserRole + 1;

// Paints the chosen row's rounded accent background; the list itself draws no selection.
class SidebarDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (selected) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            QColor fill = option.palette.color(QPalette::Highlight);
            fill.setAlphaF(0.18);
            QPainterPath path;
            path.addRoundedRect(QRectF(option.rect).adjusted(8, 1, -8, -1), 7, 7);
            painter->fillPath(path, fill);
            painter->restore();
        }
        QStyledItemDelegate::paint(painter, plain, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + 32, size.height() + 10};
    }
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->rect.adjust(16, 0, -16, 0);
    }
};

} // namespace

SettingsView::SettingsView(SettingsModel &model, const SettingsViewServices &services, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_services(services)
    , m_accentCommit(*m_services.scheduler, accentDelay)
    , m_cueColorCommit(*m_services.scheduler, cueColorDelay)
    , m_context{model, m_services, m_accentCommit, m_cueColorCommit}
    , m_sidebar(new QListWidget(this))
    , m_pane(nullptr)
    , m_footer(new QLabel(this))
{
    setMinimumSize(700, 470);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // The sidebar column can be widened by its edge, from 165 to 240 points, and opens at 181.
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("sidebarSplit"));
    split->setChildrenCollapsible(false);
    split->setHandleWidth(1);
    auto *sidebarColumn = new QWidget(split);
    sidebarColumn->setMinimumWidth(165);
    sidebarColumn->setMaximumWidth(240);
    auto *column = new QVBoxLayout(sidebarColumn);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(0);
    m_sidebar->setParent(sidebarColumn);
    m_sidebar->setAccessibleName(tr("Sections"));
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setIconSize(QSize(16, 16));
    m_sidebar->setItemDelegate(new SidebarDelegate(m_sidebar));
    m_sidebar->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sidebar->setFocusPolicy(Qt::StrongFocus);
    m_sidebar->viewport()->setAutoFillBackground(false);
    for (SettingsSection section : allSettingsSections) {
        auto *item = new QListWidgetItem(SymbolIcon::icon(symbol(section)), title(section), m_sidebar);
        item->setData(sectionRole, rawValue(section));
        item->setData(Qt::AccessibleTextRole, title(section));
    }
    column->addWidget(m_sidebar, 1);

    auto *footerRow = new QHBoxLayout;
    footerRow->setContentsMargins(16, 8, 16, 8);
    footerRow->setSpacing(6);
    footerRow->addWidget(SymbolIcon::label(QStringLiteral("info.circle"), 12, sidebarColumn));
    m_footer->setParent(sidebarColumn);
    m_footer->setText(footerText(m_services.info.shortVersion));
    plainLabel(m_footer)->setForegroundRole(QPalette::PlaceholderText);
    QFont caption = m_footer->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_footer->setFont(caption);
    footerRow->addWidget(m_footer);
    footerRow->addStretch(1);
    column->addLayout(footerRow);
    split->addWidget(sidebarColumn);

    m_pane = new DetailPane(split);
    split->addWidget(m_pane);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({181, 10000});
    row->addWidget(split, 1);
    capsuleButtons(this);

    connect(m_sidebar, &QListWidget::currentRowChanged, this, [this](int index) {
        if (index >= 0 && index < int(allSettingsSections.size()))
            select(allSettingsSections[std::size_t(index)]);
    });
    connect(&m_model, &SettingsModel::changed, this, &SettingsView::refresh);

    {
        const QSignalBlocker blocker(m_sidebar);
        m_sidebar->setCurrentRow(0);
    }
    select(SettingsSection::general);
    updateLook();
    showAlerts();
}

SettingsView::~SettingsView()
{
    m_pane->setContent(nullptr);
    m_pane->setTrailing(nullptr);
}

QSize SettingsView::sizeHint() const { return {865, 480}; }

QString SettingsView::footerText(const QString &shortVersion)
{
    return QStringLiteral("QUORVANE ") + (shortVersion.isEmpty() ? QStringLiteral("0.1 (dev)") : shortVersion);
}

QString SettingsView::deleteFailureMessage(const DeleteFailure &failure)
{
    const QString name = failure.workspace;
    if (failure.folderMissing)
        return tr("The folder for “%1” isn’t in your desktops folder any more. Removing it clears the entry — there’s "
                  "nothing left on disk.")
            .arg(name);
    return tr("%1\n\nRemoving “%2” clears the entry from Quorvane; the folder and its files stay where they are.")
        .arg(failure.reason, name);
}

void SettingsView::select(SettingsSection section)
{
    m_section = section;
    {
        const QSignalBlocker blocker(m_sidebar);
        m_sidebar->setCurrentRow(static_cast<int>(section));
    }
    m_pane->setTitle(title(section));
    m_pane->setContent(nullptr);
    // The header's button comes before the page in the keyboard's order.
    QPushButton *create = nullptr;
    if (section == SettingsSection::workspaces) {
        create = new QPushButton(tr("New desktop…"));
        SymbolIcon::apply(create, QStringLiteral("plus"));
        prominentCTA(create);
        connect(create, &QPushButton::clicked, this, [this] {
            if (m_services.showCreateSurface)
                m_services.showCreateSurface();
        });
    }
    m_pane->setTrailing(create);
    QWidget *page = makePage(section);
    m_pane->setContent(page);
    // Tab runs through the page as it is laid out, rows a refresh added included: this runs
    // after the page's own refresh, which was connected first.
    chainTabsInVisualOrder(page);
    connect(&m_model, &SettingsModel::changed, page, [page] { chainTabsInVisualOrder(page); });
    // A long page builds its last rows after its first paint: they join the order then.
    if (auto *gradual = page->findChild<GradualRows *>(QString(), Qt::FindDirectChildrenOnly))
        connect(gradual, &GradualRows::completed, page, [page] { chainTabsInVisualOrder(page); });
}

QWidget *SettingsView::makePage(SettingsSection section) { return makeSettingsPage(section, m_context); }

QColor SettingsView::accent() const
{
    const std::optional<QString> &hex = m_model.config().settings.appearance.accentHex;
    if (hex) {
        if (std::optional<QColor> color = optionalColorFromHex(*hex))
            return *color;
    }
    return QApplication::palette().color(QPalette::Highlight);
}

void SettingsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_sidebar->setFocus(Qt::OtherFocusReason);
}

void SettingsView::refresh()
{
    updateLook();
    showAlerts();
}

void SettingsView::updateLook()
{
    Theme::shared().apply(m_model.config().settings.appearance);
}

void SettingsView::showAlerts()
{
    if (!m_services.dialogs)
        return;
    QPointer<SettingsView> self(this);
    // A message another window shows over itself is not shown twice.
    if (m_model.errorMessage() && !m_model.errorMessageClaimed() && !m_errorAlertOpen) {
        m_errorAlertOpen = true;
        Question question;
        // The heading is the window's title; the model's text is said once, as the message.
        question.title = tr("Can't do that");
        question.message = *m_model.errorMessage();
        question.buttons = {{tr("OK"), ButtonRole::cancel}};
        m_services.dialogs->ask(window(), question, [self](int) {
            if (!self)
                return;
            self->m_errorAlertOpen = false;
            self->m_model.setErrorMessage(std::nullopt);
        });
    }
    if (m_model.deleteFailure() && !m_deleteAlertOpen) {
        m_deleteAlertOpen = true;
        const DeleteFailure failure = *m_model.deleteFailure();
        Question question;
        question.title = tr("Couldn’t move that desktop to the Trash");
        question.message = deleteFailureMessage(failure);
        question.buttons = {{tr("Remove from Quorvane"), ButtonRole::normal},
                            {tr("Cancel"), ButtonRole::cancel}};
        m_services.dialogs->ask(window(), question, [self, failure](int index) {
            if (!self)
                return;
            self->m_deleteAlertOpen = false;
            self->m_model.setDeleteFailure(std::nullopt);
            if (index == 0)
                self->m_model.removeFromConfig(failure.workspace);
        });
    }
}

} // namespace quorvane
