#include "SettingsViews/PinnedFoldersTab.h"

#include "Settings/SettingsModel.h"
#include "SettingsViews/GradualRows.h"
#include "SettingsViews/SettingRow.h"
#include "Shared/ElidedLabel.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/Dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane {

namespace {

// The folder with its links resolved, or the cleaned path when it cannot be resolved.
QString resolvedFolder(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

} // namespace

PinnedFoldersTab::PinnedFoldersTab(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_pins(new QVBoxLayout)
    , m_gradual(new GradualRows(this, [this] { refresh(); }))
{
    setObjectName(QStringLiteral("pinnedFolders"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 8, 20, 16);
    column->setSpacing(6);
    column->addWidget(makeSectionHeader(tr("Keep on every desktop"), this));
    auto *pin = new QPushButton(tr("Pin…"), this);
    SymbolIcon::apply(pin, QStringLiteral("plus"));
    column->addWidget(new SettingRow(tr("Pin a file or folder"),
                                     tr("Matched by name, so renaming a pinned item unpins it."),
                                     QStringLiteral("pin"), pin, this));
    connect(pin, &QPushButton::clicked, this, &PinnedFoldersTab::pickAndPin);
    m_pins->setSpacing(2);
    column->addLayout(m_pins);
    column->addStretch(1);
    connect(&context.model, &SettingsModel::changed, this, &PinnedFoldersTab::refresh);
    refresh();
}

QWidget *PinnedFoldersTab::pinRow(const QString &name) const
{
    auto found = m_rows.find(name);
    return found == m_rows.end() ? nullptr : found->second;
}

QWidget *PinnedFoldersTab::makePinRow(const QString &name)
{
    auto *line = new QWidget(this);
    line->setAccessibleName(name);
    auto *row = new QHBoxLayout(line);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(8);
    row->addWidget(SymbolIcon::label(QStringLiteral("pin.fill"), 12, line));
    auto *title = new ElidedLabel(name, line);
    title->setTextFormat(Qt::PlainText);
    row->addWidget(title);
    row->addStretch(1);
    auto *tag = new QLabel(tr("not on the Desktop"), line);
    tag->setObjectName(QStringLiteral("notOnDesktop"));
    tag->setToolTip(tr("No item with this name is on the Desktop right now — it may have been renamed or "
                       "moved. The pin waits; it re-applies if the name returns."));
    Style::setStatusTone(tag, StatusTone::warning);
    row->addWidget(tag);
    auto *unpin = new QToolButton(line);
    SymbolIcon::apply(unpin, QStringLiteral("trash"));
    unpin->setAutoRaise(true);
    unpin->setAccessibleName(tr("Unpin %1").arg(name));
    unpin->setToolTip(
        tr("Unpin — the folder stays where it is and is adopted by the current desktop on the next switch."));
    SettingsModel *model = &m_context.model;
    connect(unpin, &QToolButton::clicked, this, [model, name] { model->removePinnedFolder(name); });
    row->addWidget(unpin);
    return line;
}

void PinnedFoldersTab::refresh()
{
    const QStringList stored = m_context.model.config().settings.pinnedFolders;
    QStringList pins;
    for (const QString &name : stored) {
        if (!pins.contains(name))
            pins << name;
    }
    const qsizetype wanted = pins.size();
    pins = pins.mid(0, std::min<qsizetype>(wanted, m_gradual->allowance()));
    std::map<QString, QWidget *> rows;
    for (const QString &name : pins) {
        QWidget *line = pinRow(name);
        if (line)
            m_rows.erase(name);
        else
            line = makePinRow(name);
        rows[name] = line;
    }
    for (auto &[name, gone] : m_rows) {
        gone->hide();
        gone->deleteLater();
    }
    m_rows = std::move(rows);
    // In stored order; the tag is taken afresh on every refresh.
    for (int i = 0; i < pins.size(); ++i) {
        QWidget *line = m_rows[pins[i]];
        m_pins->removeWidget(line);
        m_pins->insertWidget(i, line);
        line->findChild<QLabel *>(QStringLiteral("notOnDesktop"))
            ->setVisible(!m_context.model.pinnedFolderIsOnDesktop(pins[i]));
    }
    m_gradual->wanted(int(wanted));
}

void PinnedFoldersTab::pickAndPin()
{
    if (!m_context.services.dialogs)
        return;
    ChooserOptions options;
    options.title = tr("Pin a file or folder");
    options.message = tr("Choose a file or folder on your Desktop to keep on every desktop.");
    options.directory = m_context.model.paths().desktop();
    options.acceptLabel = tr("Pin");
    // What is pinned already is not offered again.
    for (const QString &name : m_context.model.config().settings.pinnedFolders)
        options.hiddenItems << options.directory + QLatin1Char('/') + name;
    QPointer<PinnedFoldersTab> self(this);
    m_context.services.dialogs->chooseItem(window(), options, [self](std::optional<QString> path) {
        if (self && path && !path->isEmpty())
            self->pinChosen(*path);
    });
}

void PinnedFoldersTab::pinChosen(const QString &path)
{
    // Only the parent is resolved: a link lying on the Desktop is itself pinnable.
    const QFileInfo item(QDir::cleanPath(path));
    const QString parent = resolvedFolder(item.absolutePath());
    const QString desktop = resolvedFolder(m_context.model.paths().desktop());
    if (parent == desktop && !item.fileName().isEmpty()) {
        m_context.model.addPinnedFolder(item.fileName());
        return;
    }
    if (!m_context.services.dialogs)
        return;
    Question question;
    question.title = tr("That item isn’t on your Desktop");
    question.message = question.title;
    question.informativeText = tr("Pinning keeps a Desktop item in place across switches — it doesn’t bring "
                                  "in files from elsewhere. Move it to the Desktop first, then pin it.");
    question.buttons = {{tr("OK"), ButtonRole::cancel}};
    m_context.services.dialogs->ask(window(), question, [](int) {});
}

} // namespace quorvane
