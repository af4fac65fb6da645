#include "Install/MoveToApplicationsView.h"

#include "Install/InstallError.h"
#include "Install/RelocationGraphic.h"
#include "Shared/CapsuleStyle.h"
#include "Shared/ClosingWindow.h"
#include "Shared/SheetBackdrop.h"
#include "Shared/Style.h"
#include "Windows/LiteralText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace quorvane {

namespace {

QLabel *makeLabel(const QString &text, qreal points, QWidget *parent)
{
    // The folder's name and a failure's text are shown as written.
    QLabel *label = plainLabel(new QLabel(text, parent));
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

constexpr qreal calloutPoints = 12;
constexpr qreal titlePoints = 15;

// Why to move, naming the folder the copy runs from.
QString whyText(const QString &sourceFolderName)
{
    return QCoreApplication::translate("MoveToApplicationsView",
                                       "Quorvane is running from \u201C%1\u201D. Apps left in Downloads get swept up in a "
                                       "tidy-up, and moving one breaks the autostart entry that starts it for you. "
                                       "Quorvane reopens from its new home.")
        .arg(sourceFolderName);
}

} // namespace

MoveToApplicationsView::MoveToApplicationsView(const QString &sourceFolderName, std::function<void()> move,
                                               std::function<void()> decline, QWidget *parent)
    : QWidget(parent)
    , m_move(std::move(move))
    , m_decline(std::move(decline))
{
    setFixedWidth(width);
    auto *backdrop = new SheetBackdrop(this);
    backdrop->setCornerRadius(22);
    backdrop->setStrokeOpacity(0.6);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(backdrop);

    auto *column = new QVBoxLayout(backdrop);
    column->setContentsMargins(0, 30, 0, 22);
    column->setSpacing(0);
    m_graphic = new RelocationGraphic(backdrop);
    m_graphic->setFixedHeight(92);
    column->addWidget(m_graphic);
    column->addSpacing(20);

    QLabel *title = makeLabel(QCoreApplication::translate("MoveToApplicationsView", "Move Quorvane to your applications folder?"), titlePoints, backdrop);
    QFont bold = title->font();
    bold.setWeight(QFont::DemiBold);
    title->setFont(bold);
    column->addWidget(title);

    QLabel *text = makeLabel(whyText(sourceFolderName), calloutPoints, backdrop);
    text->setForegroundRole(QPalette::PlaceholderText);
    text->setContentsMargins(30, 8, 30, 0);
    column->addWidget(text);

    m_error = makeLabel(QString(), calloutPoints, backdrop);
    m_error->setObjectName(QStringLiteral("errorText"));
    Style::setStatusTone(m_error, StatusTone::error);
    m_error->setContentsMargins(30, 12, 30, 0);
    m_error->hide();
    column->addWidget(m_error);
    column->addStretch(1);
    // The texts end well clear of the buttons, however their lines wrap.
    column->addSpacing(textToButtons);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    m_declineButton = new QPushButton(QCoreApplication::translate("MoveToApplicationsView", "Not now"), backdrop);
    m_moveButton = new QPushButton(QCoreApplication::translate("MoveToApplicationsView", "Move to your applications folder"), backdrop);
    m_moveButton->setDefault(true);
    m_moveButton->setAutoDefault(true);
    m_declineButton->setAutoDefault(false);
    // Return moves and Escape declines, whichever button has the focus.
    ClosingWindow::markAsCancelButton(m_declineButton);
    prominentCTA(m_moveButton);
    buttons->addWidget(m_declineButton);
    buttons->addWidget(m_moveButton);
    buttons->addStretch(1);
    column->addLayout(buttons);
    capsuleButtons(backdrop);

    QObject::connect(m_moveButton, &QPushButton::clicked, this, [this] { attemptMove(); });
    QObject::connect(m_declineButton, &QPushButton::clicked, this, [this] {
        if (m_decline)
            m_decline();
    });
}

void MoveToApplicationsView::setErrorText(const QString &text)
{
    m_errorText = text;
    m_error->setText(text);
    m_error->setVisible(!text.isEmpty());
    fitHeight();
}

void MoveToApplicationsView::setLeastHeight(int height)
{
    m_leastHeight = height;
    fitHeight();
}

void MoveToApplicationsView::fitHeight()
{
    // The wrapped texts' lines at the prompt's width: a layout's least height knows nothing of
    // them, and a window that size cut their last lines off under the buttons.
    QLayout *column = layout();
    const int needed = column && column->hasHeightForWidth() ? column->totalHeightForWidth(width) : 0;
    setMinimumHeight(std::max(m_leastHeight, needed));
}

void MoveToApplicationsView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitHeight();
}

void MoveToApplicationsView::attemptMove()
{
    setErrorText(QString());
    QString description;
    try {
        if (m_move)
            m_move();
        return;
    } catch (const InstallError &error) {
        description = error.description();
    } catch (const std::exception &error) {
        description = QString::fromStdString(error.what());
    }
    setErrorText(QCoreApplication::translate("MoveToApplicationsView",
                                             "Couldn\u2019t move it: %1 You can drag Quorvane into your applications folder yourself instead.")
                     .arg(description));
}

void MoveToApplicationsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    fitHeight();
    m_graphic->setAnimating(true);
}

} // namespace quorvane
