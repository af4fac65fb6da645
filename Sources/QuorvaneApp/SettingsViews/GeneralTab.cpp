#include "SettingsViews/GeneralTab.h"

#include "DesktopServices.h"
#include "LoginItem.h"
#include "Settings/SettingsModel.h"
#include "Settings/Style.h"
#include "Settings/SupportContact.h"
#include "Settings/SymbolIcon.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/TabChain.h"
#include "LiteralText.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QCheckBox *toggle(QWidget *parent)
{
    auto *box = new QCheckBox(parent);
    box->setText(QString());
    return box;
}

// A label with a symbol, as a row's status control.
QWidget *statusLabel(const QString &symbol, const QString &text, std::optional<StatusTone> tone, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(SymbolIcon::label(symbol, 14, box));
    QLabel *label = plainLabel(new QLabel(text, box));
    label->setObjectName(QStringLiteral("status"));
    if (tone) {
        Style::setStatusTone(label, tone);
    } else {
        label->setForegroundRole(QPalette::PlaceholderText);
    }
    row->addWidget(label);
    box->setAccessibleName(text);
    return box;
}

} // namespace

GeneralTab::GeneralTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_status(context.services.automation ? context.services.automation->finderStatus()
                                           : AutomationPermission::Status::unknown)
    , m_startMinimized(toggle(this))
    , m_automationRow(nullptr)
    , m_copy(new QPushButton(QStringLiteral("Copy"), this))
{
    setObjectName(QStringLiteral("general"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    SettingsModel &model = context.model;
    const SettingsViewServices &services = context.services;

    column->addWidget(makeSectionHeader(QStringLiteral("Startup"), this));
    if (services.info.identifier.isEmpty() || !services.loginItem) {
        column->addWidget(new SettingRow(QStringLiteral("Launch Quorvane on startup"),
                                         QStringLiteral("Becomes available once Quorvane is installed as an app."),
                                         QStringLiteral("power"), nullptr, this));
    } else {
        m_login = toggle(this);
        column->addWidget(
            new SettingRow(QStringLiteral("Launch Quorvane on startup"), {}, QStringLiteral("power"), m_login, this));
        connect(m_login, &QCheckBox::clicked, this, &GeneralTab::setLogin);
    }
    column->addWidget(new SettingRow(QStringLiteral("Start up with desktops minimized"), {},
                                     QStringLiteral("arrow.down.right.and.arrow.up.left"), m_startMinimized, this));
    connect(m_startMinimized, &QCheckBox::clicked, this, [&model](bool on) { model.setStartMinimized(on); });

    column->addWidget(makeSectionHeader(QStringLiteral("Folders"), this));
    auto *revealDesktops = new QPushButton(QStringLiteral("Reveal"), this);
    column->addWidget(
        new SettingRow(QStringLiteral("Desktops folder"), {}, QStringLiteral("folder"), revealDesktops, this));
    connect(revealDesktops, &QPushButton::clicked, this, [this] {
        if (m_context.services.desktop)
            m_context.services.desktop->open(QUrl::fromLocalFile(m_context.model.workspacesRoot()));
    });
    auto *revealArchive = new QPushButton(QStringLiteral("Reveal"), this);
    column->addWidget(new SettingRow(QStringLiteral("Archive"), {}, QStringLiteral("archivebox"), revealArchive, this));
    connect(revealArchive, &QPushButton::clicked, this, &GeneralTab::revealArchive);

    column->addWidget(makeSectionHeader(QStringLiteral("Permissions"), this));
    m_automationRow = new SettingRow(QStringLiteral("Finder automation"), QStringLiteral(" "),
                                     QStringLiteral("hand.raised"), nullptr, this);
    column->addWidget(m_automationRow);

    column->addWidget(makeSectionHeader(QStringLiteral("Support"), this));
    auto *email = new QPushButton(QStringLiteral("Email…"), this);
    column->addWidget(new SettingRow(QStringLiteral("Contact support"), {}, QStringLiteral("envelope"), email, this));
    connect(email, &QPushButton::clicked, this, [this] {
        DesktopServices *desktop = m_context.services.desktop;
        SupportContact::compose([desktop](const QUrl &url) {
            if (desktop)
                desktop->open(url);
        });
    });
    column->addWidget(new SettingRow(QStringLiteral("Copy diagnostics"),
                                     QStringLiteral("App and system versions, desktop counts, and this run's activity "
                                                    "log — paste it into a support email. Never file names or contents "
                                                    "from your desktops."),
                                     QStringLiteral("stethoscope"), m_copy, this));
    connect(m_copy, &QPushButton::clicked, this, &GeneralTab::copyDiagnostics);
    column->addStretch(1);

    showAutomation();
    connect(&model, &SettingsModel::changed, this, &GeneralTab::refresh);
    refresh();
}

GeneralTab::~GeneralTab()
{
    Scheduler *scheduler = m_context.services.scheduler;
    if (m_poll)
        scheduler->cancel(*m_poll);
    for (Scheduler::Token token : m_resets)
        scheduler->cancel(token);
}

void GeneralTab::refresh()
{
    const QSignalBlocker blockMinimized(m_startMinimized);
    m_startMinimized->setChecked(m_context.model.config().settings.startMinimized);
    if (m_login) {
        const QSignalBlocker blockLogin(m_login);
        m_login->setChecked(m_context.services.loginItem->isEnabled());
    }
}

void GeneralTab::setLogin(bool on)
{
    LoginItem *item = m_context.services.loginItem;
    const std::optional<QString> failure = on ? item->registerItem() : item->unregisterItem();
    if (failure)
        m_context.model.setErrorMessage(*failure);
    refresh(); // the system's entry is the truth
}

void GeneralTab::revealArchive()
{
    const std::optional<QString> &root = m_context.model.config().settings.archiveRoot;
    const QString folder = root ? *root : m_context.model.paths().defaultArchiveRoot();
    QDir().mkpath(folder); // a failure shows as the file manager's own
    if (m_context.services.desktop)
        m_context.services.desktop->open(QUrl::fromLocalFile(folder));
}

void GeneralTab::copyDiagnostics()
{
    m_context.model.copyDiagnostics();
    m_copy->setText(QStringLiteral("Copied"));
    // Each copy schedules its own reset; the first one still clears the text at its time.
    const Scheduler::Token token = m_context.services.scheduler->after(copiedFor, [this] {
        m_copy->setText(QStringLiteral("Copy"));
        if (!m_resets.empty())
            m_resets.erase(m_resets.begin());
    });
    m_resets.push_back(token);
}

void GeneralTab::readAutomation()
{
    const AutomationPermission::Status status = m_context.services.automation
        ? m_context.services.automation->finderStatus()
        : AutomationPermission::Status::unknown;
    if (status == m_status)
        return;
    m_status = status;
    showAutomation();
}

void GeneralTab::showAutomation()
{
    using Status = AutomationPermission::Status;
    QString subtitle;
    QWidget *control = nullptr;
    switch (m_status) {
    case Status::granted:
        subtitle = QStringLiteral("Lets Quorvane tell Finder where your desktop icons go when you switch.");
        control = statusLabel(QStringLiteral("checkmark.circle.fill"), QStringLiteral("On"), StatusTone::success, this);
        break;
    case Status::denied: {
        subtitle = QStringLiteral("Currently off — switching still works, but icons land unplaced. Flip Quorvane on under "
                                  "Finder in System Settings ▸ Privacy & Security ▸ Automation.");
        auto *open = new QPushButton(QStringLiteral("Open System Settings…"), this);
        connect(open, &QPushButton::clicked, this, [this] {
            if (m_context.services.desktop)
                m_context.services.desktop->open(
                    QUrl(QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_Automation")));
        });
        control = open;
        break;
    }
    case Status::undetermined: {
        subtitle = QStringLiteral("macOS asks for this the first time icons are placed. You can bring the question up now.");
        auto *allow = new QPushButton(QStringLiteral("Allow…"), this);
        connect(allow, &QPushButton::clicked, this, [this] {
            if (m_context.services.automation)
                m_context.services.automation->request();
        });
        control = allow;
        break;
    }
    case Status::unknown:
        subtitle = QStringLiteral("Couldn't read the current state — it refreshes here automatically.");
        control = statusLabel(QStringLiteral("questionmark.circle"), QStringLiteral("—"), std::nullopt, this);
        break;
    }
    auto *replacement =
        new SettingRow(QStringLiteral("Finder automation"), subtitle, QStringLiteral("hand.raised"), control, this);
    if (m_automationRow) {
        delete layout()->replaceWidget(m_automationRow, replacement);
        m_automationRow->hide();
        m_automationRow->deleteLater();
    }
    m_automationRow = replacement;
    chainTabsInVisualOrder(this);
}

void GeneralTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_poll) {
        readAutomation();
        m_poll = m_context.services.scheduler->every(refreshInterval, [this] { readAutomation(); });
    }
}

void GeneralTab::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_poll)
        m_context.services.scheduler->cancel(*m_poll);
    m_poll.reset();
}

} // namespace quorvane
