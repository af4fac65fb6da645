#include "SettingsViews/ArchivedRow.h"

#include "Files/DesktopServices.h"
#include "Settings/SettingsModel.h"
#include "SettingsViews/ArchivedTrashButton.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DeskTexts.h"
#include "Shared/ElidedLabel.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/LiteralText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

ArchivedRow::ArchivedRow(const SettingsContext &context, const Workspace &workspace, QWidget *parent)
    : QWidget(parent)
    , m_workspace(workspace)
{
    setAccessibleName(workspace.name);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 4, 12, 4);
    row->setSpacing(8);
    // Laid out but hidden, so the names line up with the live rows' names.
    QLabel *handle = SymbolIcon::label(QStringLiteral("line.3.horizontal"), 12, this);
    QSizePolicy keep = handle->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    handle->setSizePolicy(keep);
    handle->hide();
    row->addWidget(handle);
    row->addWidget(new ColorSwatch(colorFromHex(workspace.effectiveColorHex()), 10, false, this));
    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto *title = new ElidedLabel(workspace.name, this);
    title->setTextFormat(Qt::PlainText);
    texts->addWidget(title);
    if (workspace.archivedAt) {
        QLabel *date = plainLabel(new QLabel(tr("archived %1").arg(abbreviatedDate(*workspace.archivedAt)), this));
        date->setObjectName(QStringLiteral("archivedDate"));
        date->setForegroundRole(QPalette::PlaceholderText);
        texts->addWidget(date);
    }
    row->addLayout(texts);
    row->addStretch(1);
    if (workspace.archiveLocation) {
        auto *reveal = new QPushButton(tr("Open Containing Folder"), this);
        reveal->setAccessibleName(tr("Open Containing Folder of %1").arg(workspace.name));
        DesktopServices *desktop = context.services.desktop;
        const QString location = *workspace.archiveLocation;
        connect(reveal, &QPushButton::clicked, this, [desktop, location] {
            if (desktop)
                desktop->reveal({location});
        });
        row->addWidget(reveal);
    }
    auto *restore = new QPushButton(tr("Restore"), this);
    restore->setAccessibleName(tr("Restore %1").arg(workspace.name));
    restore->setToolTip(tr("Move this desktop back to the live list — its folder returns from the archive."));
    SettingsModel *model = &context.model;
    const QString name = workspace.name;
    connect(restore, &QPushButton::clicked, this, [model, name] { model->restore(name); });
    row->addWidget(restore);
    auto *trash = new ArchivedTrashButton(context, workspace.name, this);
    row->addWidget(trash);
}

} // namespace quorvane
