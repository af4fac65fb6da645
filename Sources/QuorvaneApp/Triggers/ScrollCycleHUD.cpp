#include "Triggers/ScrollCycleHUD.h"

#include "Overlays/TimingCurve.h"
#include "Shared/Style.h"
#include "Windows/LiteralText.h"
#include "Windows/WindowLevel.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr qreal backdropOpacity = 0.95;

// The panel's backdrop: #181818 at 85 % in a rounded rectangle of radius 18.
class HudPanel final : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        // The look's window colour, nearly opaque: the names read in light and dark alike.
        QColor backdrop = palette().color(QPalette::Window);
        backdrop.setAlphaF(backdropOpacity);
        painter.setPen(Qt::NoPen);
        painter.setBrush(backdrop);
        painter.drawRoundedRect(QRectF(rect()), 18, 18);
    }
};

// The neighbours' names in the look's secondary colour, drawn towards the text colour until they
// read 4.5:1 on the backdrop over the darkest and the lightest desktop alike.
QColor neighbourColor(const QPalette &palette)
{
    const QColor window = palette.color(QPalette::Window);
    const auto over = [&](int behind) {
        const auto mix = [&](int c) { return int(std::lround(c * backdropOpacity + behind * (1 - backdropOpacity))); };
        return QColor(mix(window.red()), mix(window.green()), mix(window.blue()));
    };
    return Style::readableOn(palette.color(QPalette::PlaceholderText), palette.color(QPalette::WindowText),
                             {over(0), over(255)}, 4.5);
}

QLabel *makeLabel(QWidget *parent, int pointSize, QFont::Weight weight, QPalette::ColorRole role)
{
    // Desktop names, shown as written.
    QLabel *label = plainLabel(new QLabel(parent));
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setWeight(weight);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setForegroundRole(role);
    return label;
}

int naturalWidth(const QLabel *label, const QString &text)
{
    return label->fontMetrics().horizontalAdvance(text);
}

} // namespace

ScrollCycleHUD::ScrollCycleHUD(Scheduler &scheduler, ScreenList &screens, std::function<QPoint()> pointer)
    : m_scheduler(scheduler)
    , m_screens(screens)
    , m_pointer(std::move(pointer))
    , m_fade(scheduler)
    , m_slide(scheduler)
{
}

ScrollCycleHUD::~ScrollCycleHUD() = default;

std::optional<ScrollCycleHUD::Labels> ScrollCycleHUD::labelsFor(const QStringList &ring, int index, bool wraps)
{
    const int count = int(ring.size());
    if (index < 0 || index >= count)
        return std::nullopt;
    const bool wrapping = wraps && count >= 2;
    Labels labels;
    labels.current = ring[index];
    if (wrapping) {
        labels.previous = ring[(index - 1 + count) % count];
        labels.next = ring[(index + 1) % count];
    } else {
        if (index > 0)
            labels.previous = ring[index - 1];
        if (index + 1 < count)
            labels.next = ring[index + 1];
    }
    return labels;
}

void ScrollCycleHUD::ensurePanel()
{
    if (m_panel)
        return;
    m_panel = std::make_unique<HudPanel>();
    m_panel->setWindowTitle(panelTitle);
    m_panel->setAttribute(Qt::WA_TranslucentBackground);
    applyWindowLevel(m_panel.get(), WindowLevel::status);
    m_panel->resize(220, height);
    m_stack = new QWidget(m_panel.get());
    auto *layout = new QVBoxLayout(m_stack);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_prevLabel = makeLabel(m_stack, 15, QFont::Medium, QPalette::PlaceholderText);
    m_currentLabel = makeLabel(m_stack, 26, QFont::DemiBold, QPalette::WindowText);
    m_nextLabel = makeLabel(m_stack, 15, QFont::Medium, QPalette::PlaceholderText);
    layout->addWidget(m_prevLabel);
    layout->addWidget(m_currentLabel);
    layout->addWidget(m_nextLabel);
}

void ScrollCycleHUD::show(const QStringList &ring, int index, bool wraps, int slide)
{
    const auto labels = labelsFor(ring, index, wraps);
    if (!labels)
        return;
    ensurePanel();
    // The look may have changed since the last time.
    for (QLabel *neighbour : {m_prevLabel, m_nextLabel}) {
        QPalette tones = neighbour->palette();
        tones.setColor(QPalette::PlaceholderText, neighbourColor(m_panel->palette()));
        neighbour->setPalette(tones);
    }
    m_labels = *labels;
    resizePanel();
    centrePanel();
    const bool visible = m_panel->isVisible();
    if (visible && slide != 0)
        animateSlide(slide);
    if (!visible) {
        m_slide.stop();
        m_slideOffset = 0;
        placeStack();
        setWindowOpacity(m_panel.get(), 0);
        m_panel->show();
    }
    m_panel->raise();
    // Replacing a running fade-out also drops its ordering out.
    const double from = windowOpacity(m_panel.get());
    m_fade.start(fadeInDuration, [this, from](double progress) {
        setWindowOpacity(m_panel.get(), from + (1 - from) * progress);
    });
}

void ScrollCycleHUD::hide()
{
    if (!m_panel || !m_panel->isVisible())
        return;
    const double from = windowOpacity(m_panel.get());
    m_fade.start(
        fadeOutDuration, [this, from](double progress) { setWindowOpacity(m_panel.get(), from * (1 - progress)); },
        [this] { m_panel->hide(); });
}

ScrollCycleHUD::Labels ScrollCycleHUD::shownTexts() const
{
    if (!m_panel)
        return {};
    return {m_prevLabel->text(), m_currentLabel->text(), m_nextLabel->text()};
}

void ScrollCycleHUD::resizePanel()
{
    const int widest = std::max({naturalWidth(m_prevLabel, m_labels.previous),
                                 naturalWidth(m_currentLabel, m_labels.current), naturalWidth(m_nextLabel, m_labels.next)});
    // A few pixels to spare: the eliding measures text a little wider than its advance, and a
    // name that just fits must not lose its last letters.
    constexpr int spare = 6;
    const int width = std::clamp(widest + 72 + spare, minimumWidth, maximumWidth);
    m_panel->resize(width, height);
    const int room = width - 72;
    const auto fit = [room](QLabel *label, const QString &text) {
        label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, room));
    };
    fit(m_prevLabel, m_labels.previous);
    fit(m_currentLabel, m_labels.current);
    fit(m_nextLabel, m_labels.next);
    m_stack->setFixedWidth(room);
    m_stack->adjustSize();
    placeStack();
}

void ScrollCycleHUD::placeStack()
{
    const int x = (m_panel->width() - m_stack->width()) / 2;
    const int y = (m_panel->height() - m_stack->height()) / 2;
    m_stack->move(x, y + int(std::lround(m_slideOffset)));
}

void ScrollCycleHUD::centrePanel()
{
    const QList<QRect> frames = m_screens.frames();
    if (frames.isEmpty())
        return;
    const QPoint pointer = m_pointer ? m_pointer() : QPoint();
    QRect screen = frames.front();
    for (const QRect &frame : frames) {
        if (frame.contains(pointer)) {
            screen = frame;
            break;
        }
    }
    const QPointF centre = QRectF(screen).center();
    m_panel->move(int(std::lround(centre.x() - m_panel->width() / 2.0)),
                  int(std::lround(centre.y() - m_panel->height() / 2.0)));
}

void ScrollCycleHUD::animateSlide(int direction)
{
    // The names come from one row further along and settle in place.
    const double from = slideDistance * (direction > 0 ? 1 : -1);
    m_slide.start(slideDuration, [this, from](double progress) {
        m_slideOffset = from * (1 - timing::easeOut(progress));
        placeStack();
    });
}

} // namespace quorvane
