#include "Calendar/CalendarWindowController.h"

#include "Calendar/CalendarModel.h"
#include "Calendar/CleanupCalendarView.h"
#include "Calendar/WindowDragHandle.h"
#include "Shared/CapsuleStyle.h"
#include "Shared/SheetBackdrop.h"
#include "Shared/SheetPanelWindow.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Shared/Theme.h"
#include "Windows/ActivationPolicy.h"
#include "Windows/WindowLevel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvane {

namespace {

// The backdrop follows the window's size; Escape that no control took closes the window.
class PanelEvents : public QObject {
public:
    PanelEvents(QWidget *window, QWidget *backdrop)
        : QObject(window)
        , m_window(window)
        , m_backdrop(backdrop)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            m_backdrop->setGeometry(QRect(QPoint(0, 0), static_cast<QResizeEvent *>(event)->size()));
        } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            m_window->close();
            return true;
        }
        return false;
    }

private:
    QWidget *m_window;
    QWidget *m_backdrop;
};

} // namespace

CalendarWindowController::CalendarWindowController(CalendarModel &model)
    : m_model(model)
{
    auto *panel = new SheetPanelWindow;
    m_window.reset(panel);
    panel->setWindowTitle(QCoreApplication::translate("CalendarWindowController", "Cleanup calendar"));
    panel->setMovableByBackground(false);
    applyWindowLevel(panel, WindowLevel::floating, WindowBehaviour{false, true, false});

    auto *backdrop = new SheetBackdrop(panel);
    backdrop->setCornerRadius(22);
    backdrop->setStrokeOpacity(0.6);
    backdrop->lower();
    new PanelEvents(panel, backdrop);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *titleRow = new WindowDragHandle(panel);
    titleRow->setObjectName(QStringLiteral("titleRow"));
    auto *titleLayout = new QHBoxLayout(titleRow);
    titleLayout->setContentsMargins(20, 18, 20, 4);
    auto *title = new QLabel(QCoreApplication::translate("CalendarWindowController", "Cleanup calendar"), titleRow);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.35);
    font.setWeight(QFont::DemiBold);
    title->setFont(font);
    titleLayout->addWidget(title);
    titleLayout->addStretch(1);
    auto *close = new QToolButton(titleRow);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoRaise(true);
    close->setToolTip(QCoreApplication::translate("CalendarWindowController", "Close"));
    SymbolIcon::apply(close, QStringLiteral("xmark.circle.fill"));
    QObject::connect(close, &QToolButton::clicked, panel, &QWidget::close);
    titleLayout->addWidget(close);
    layout->addWidget(titleRow);

    m_calendar = new CleanupCalendarView(model, CleanupCalendarView::Options{}, panel);
    auto *calendarBox = new QHBoxLayout;
    calendarBox->setContentsMargins(6, 0, 6, 10);
    calendarBox->addWidget(m_calendar);
    layout->addLayout(calendarBox);
    capsuleButtons(panel);

    connect(&model, &CalendarModel::configChanged, this, [this] { restyle(); });
    restyle();

    panel->setFixedWidth(width);
    panel->adjustSize();
    panel->setFixedHeight(panel->sizeHint().height());
    panel->centre();
    // Closing tells the owner, which releases the panel: the next show builds a new one.
    panel->onClose = [this] {
        if (onClose)
            onClose();
    };
}

CalendarWindowController::~CalendarWindowController()
{
    // The panel reads the model on every paint: it goes with its controller, at once. Never
    // from the panel's own close handler: a closed panel's owner releases this with deleteLater.
    delete m_window.release();
}

void CalendarWindowController::restyle()
{
    Theme::shared().apply(m_model.config().settings.appearance);
    m_applied = Theme::shared().dark() ? AppearanceMode::dark : AppearanceMode::light;
}

void CalendarWindowController::show(ActivationPolicy *activation, QWidget *from)
{
    auto *window = static_cast<SheetPanelWindow *>(m_window.get());
    window->show();
    window->setOpenedFrom(from);
    window->raise();
    window->activateWindow();
    if (activation)
        activation->activate();
}

} // namespace quorvane
