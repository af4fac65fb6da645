#include "SettingsViews/UnlistedFolderRow.h"

#include "Files/DesktopServices.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/DeskTexts.h"
#include "Shared/ElidedLabel.h"
#include "Shared/SymbolIcon.h"
#include "Windows/LiteralText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quorvane {

UnlistedFolderRow::UnlistedFolderRow(const SettingsContext &context, const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(name);
    const QString path = context.model.workspacesRoot() + QLatin1Char('/') + name;
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 6, 12, 6);
    row->addWidget(SymbolIcon::label(QStringLiteral("folder.badge.questionmark"), 16, this));
    auto *title = new ElidedLabel(name, this);
    title->setTextFormat(Qt::PlainText);
    row->addWidget(title);
    QLabel *count = plainLabel(new QLabel(itemsText(visibleItemCount(path)), this));
    count->setObjectName(QStringLiteral("itemCount"));
    count->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(count);
    row->addStretch(1);
    row->addSpacing(12);
    auto *reveal = new QPushButton(tr("Open Containing Folder"), this);
    reveal->setToolTip(tr("Show this folder in the file manager."));
    reveal->setAccessibleName(tr("Open Containing Folder of %1").arg(name));
    auto *add = new QPushButton(tr("Add"), this);
    add->setToolTip(tr("Make this folder a desktop in Quorvane. Its files stay where they are."));
    add->setAccessibleName(tr("Add %1").arg(name));
    row->addWidget(reveal);
    row->addWidget(add);
    DesktopServices *desktop = context.services.desktop;
    connect(reveal, &QPushButton::clicked, this, [desktop, path] {
        if (desktop)
            desktop->reveal({path});
    });
    SettingsModel *model = &context.model;
    connect(add, &QPushButton::clicked, this, [model, name] { model->adoptFolder(name); });
}

} // namespace quorvane
