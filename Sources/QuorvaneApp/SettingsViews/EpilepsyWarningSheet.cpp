#include "SettingsViews/EpilepsyWarningSheet.h"

#include "Shared/CapsuleStyle.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

EpilepsyWarningSheet::EpilepsyWarningSheet(std::function<void()> onCancel, std::function<void()> onEnable,
                                           QWidget *parent)
    : QWidget(parent)
    , m_onCancel(std::move(onCancel))
    , m_onEnable(std::move(onEnable))
    , m_cancel(new QPushButton(tr("Cancel"), this))
    , m_enable(new QPushButton(tr("Enable"), this))
{
    setObjectName(QStringLiteral("epilepsyWarning"));
    setWindowTitle(tr("Photosensitivity warning"));
    setFixedSize(width, height);
    capsuleButtons(this);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *title = new QLabel(tr("Photosensitivity warning"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    title->setContentsMargins(20, 18, 20, 4);
    column->addWidget(title);

    // The grouped form's one section.
    auto *group = new QFrame(this);
    group->setFrameShape(QFrame::StyledPanel);
    auto *groupColumn = new QVBoxLayout(group);
    groupColumn->setContentsMargins(12, 10, 12, 10);
    groupColumn->setSpacing(8);
    auto *headline = new QHBoxLayout;
    headline->setSpacing(8);
    QLabel *icon = SymbolIcon::label(QStringLiteral("exclamationmark.triangle.fill"), 16, group);
    Style::setStatusTone(icon, StatusTone::warning);
    headline->addWidget(icon, 0, Qt::AlignTop);
    auto *flash = new QLabel(tr("Following workspaces can make the screen flash."), group);
    flash->setWordWrap(true);
    headline->addWidget(flash, 1);
    groupColumn->addLayout(headline);
    auto *details = new QLabel(tr("Every switch between workspaces swaps the desktop underneath: files, icons and "
                                  "wallpaper colours change abruptly, and quick back-and-forth switching can "
                                  "produce rapid flashing. If you (or anyone watching your screen) are "
                                  "sensitive to flashing images or have photosensitive epilepsy, leave this "
                                  "off."),
                               group);
    details->setWordWrap(true);
    details->setForegroundRole(QPalette::PlaceholderText);
    QFont callout = details->font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    details->setFont(callout);
    groupColumn->addWidget(details);
    groupColumn->addStretch(1);
    auto *groupBox = new QWidget(this);
    auto *groupMargins = new QVBoxLayout(groupBox);
    groupMargins->setContentsMargins(20, 8, 20, 12);
    groupMargins->addWidget(group);
    column->addWidget(groupBox, 1);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    column->addWidget(divider);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 16, 16, 16);
    buttons->addStretch(1);
    // The sheet answers Return and Escape itself, whichever button has the focus.
    m_cancel->setAutoDefault(false);
    m_enable->setAutoDefault(false);
    m_enable->setDefault(true);
    prominentCTA(m_enable);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_enable);
    column->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_onCancel)
            m_onCancel();
    });
    connect(m_enable, &QPushButton::clicked, this, [this] {
        if (m_onEnable)
            m_onEnable();
    });
}

void EpilepsyWarningSheet::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Escape:
            m_cancel->click();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_enable->click();
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

} // namespace quorvane
