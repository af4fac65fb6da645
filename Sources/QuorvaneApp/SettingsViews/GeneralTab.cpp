#include "SettingsViews/GeneralTab.h"

#include "Files/DesktopServices.h"
#include "Install/LoginItem.h"
#include "Settings/SettingsModel.h"
#include "Settings/SupportContact.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/TabChain.h"
#include "Shared/Style.h"
#include "Windows/Dialogs.h"
#include "Windows/LiteralText.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
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

} // namespace

GeneralTab::GeneralTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_startMinimized(toggle(this))
    , m_copy(new QPushButton(tr("Copy"), this))
{
    setObjectName(QStringLiteral("general"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    SettingsModel &model = context.model;
    const SettingsViewServices &services = context.services;

    column->addWidget(makeSectionHeader(tr("Startup"), this));
    if (services.info.identifier.isEmpty() || !services.loginItem) {
        column->addWidget(new SettingRow(tr("Launch Quorvane on startup"),
                                         tr("Becomes available once Quorvane is installed as an app."),
                                         QStringLiteral("power"), nullptr, this));
    } else {
        m_login = toggle(this);
        column->addWidget(
            new SettingRow(tr("Launch Quorvane on startup"), {}, QStringLiteral("power"), m_login, this));
        connect(m_login, &QCheckBox::clicked, this, &GeneralTab::setLogin);
    }
    column->addWidget(new SettingRow(tr("Start up with desktops minimized"), {},
                                     QStringLiteral("arrow.down.right.and.arrow.up.left"), m_startMinimized, this));
    connect(m_startMinimized, &QCheckBox::clicked, this, [&model](bool on) { model.setStartMinimized(on); });

    column->addWidget(makeSectionHeader(tr("Folders"), this));
    // The folder itself opens in the file manager.
    auto *revealDesktops = new QPushButton(tr("Open Folder"), this);
    column->addWidget(
        new SettingRow(tr("Desktops folder"), {}, QStringLiteral("folder"), revealDesktops, this));
    connect(revealDesktops, &QPushButton::clicked, this, [this] {
        if (m_context.services.desktop)
            m_context.services.desktop->open(QUrl::fromLocalFile(m_context.model.workspacesRoot()));
    });
    auto *revealArchive = new QPushButton(tr("Open Folder"), this);
    column->addWidget(new SettingRow(tr("Archive"), {}, QStringLiteral("archivebox"), revealArchive, this));
    connect(revealArchive, &QPushButton::clicked, this, &GeneralTab::revealArchive);

    column->addWidget(makeSectionHeader(tr("Support"), this));
    auto *email = new QPushButton(tr("Email…"), this);
    column->addWidget(new SettingRow(QStringLiteral("Contact support"), {}, QStringLiteral("envelope"), email, this));
    connect(email, &QPushButton::clicked, this, &GeneralTab::emailSupport);
    column->addWidget(new SettingRow(tr("Copy diagnostics"),
                                     QStringLiteral("App and system versions, desktop counts, and this run's activity "
                                                    "log — paste it into a support email. Never file names or contents "
                                                    "from your desktops."),
                                     QStringLiteral("stethoscope"), m_copy, this));
    connect(m_copy, &QPushButton::clicked, this, &GeneralTab::copyDiagnostics);
    column->addStretch(1);

    chainTabsInVisualOrder(this);
    connect(&model, &SettingsModel::changed, this, &GeneralTab::refresh);
    refresh();
}

GeneralTab::~GeneralTab()
{
    Scheduler *scheduler = m_context.services.scheduler;
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

void GeneralTab::emailSupport()
{
    DesktopServices *desktop = m_context.services.desktop;
    const std::optional<QUrl> url = SupportContact::mailURL();
    if (!desktop || !url)
        return;
    if (desktop->canOpen(*url)) {
        desktop->open(*url);
        return;
    }
    // Without a mail application the address is offered to copy instead of nothing happening.
    Question question;
    question.message = tr("No email app is set up");
    question.informativeText = tr("Write to %1 from the email app or web mail you use.").arg(SupportContact::address);
    question.buttons = {{tr("Copy Address")}, {tr("Cancel"), ButtonRole::cancel}};
    question.style = AlertStyle::informational;
    m_context.services.dialogs->ask(window(), question, [](int chosen) {
        if (chosen == 0)
            QGuiApplication::clipboard()->setText(SupportContact::address);
    });
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
    m_copy->setText(tr("Copied"));
    // Each copy schedules its own reset; the first one still clears the text at its time.
    const Scheduler::Token token = m_context.services.scheduler->after(copiedFor, [this] {
        m_copy->setText(tr("Copy"));
        if (!m_resets.empty())
            m_resets.erase(m_resets.begin());
    });
    m_resets.push_back(token);
}

} // namespace quorvane
