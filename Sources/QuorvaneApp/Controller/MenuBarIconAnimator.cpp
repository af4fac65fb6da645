#include "Controller/MenuBarIconAnimator.h"

#include "Controller/MenuBarGlyph.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane {

const MenuBarIconAnimator::Widths MenuBarIconAnimator::restWidths{126, 44, 28};
const MenuBarIconAnimator::Widths MenuBarIconAnimator::restRadii{16, 14, 13};

namespace {

// A raised-cosine bump over progress 0...0.8, eased with smootherstep.
double bump(double x)
{
    const double q = std::clamp(x / 0.8, 0.0, 1.0);
    const double e = q * q * q * (q * (6 * q - 15) + 10);
    if (e > 0 && e < 1)
        return (1 - std::cos(2 * std::numbers::pi * e)) / 2;
    return 0;
}

} // namespace

MenuBarIconAnimator::MenuBarIconAnimator(Scheduler &scheduler, DocumentService *documents)
    : m_scheduler(scheduler)
{
    if (!documents)
        return;
    using Change = DocumentService::Change;
    QObject::connect(documents, &DocumentService::changed, &m_listening,
                     [this](const Config &config, DocumentService::Changes what) {
                         if (what & (Change::settings | Change::state)
                             && config.settings.menuBarAnimation == MenuBarAnimation::none)
                             resetToRest();
                     });
}

MenuBarIconAnimator::~MenuBarIconAnimator()
{
    stopTimer();
}

QImage MenuBarIconAnimator::trayImage(const Widths &widths, const Widths &radii)
{
    const qreal dpr = std::max<qreal>(2, qGuiApp ? qGuiApp->devicePixelRatio() : 1);
    return MenuBarGlyph::traySquare(MenuBarGlyph::image(widths, radii, dpr), MenuBarGlyph::defaultTint());
}

const QImage &MenuBarIconAnimator::frameImage(const FrameKey &key, const Widths &widths, const Widths &radii)
{
    // A new tint (the desktop's theme changed) draws every frame anew.
    if (!m_frames.empty() && m_frames.begin()->first.tint != key.tint)
        m_frames.clear();
    auto found = m_frames.find(key);
    if (found == m_frames.end())
        found = m_frames.emplace(key, trayImage(widths, radii)).first;
    return found->second;
}

QImage MenuBarIconAnimator::restImage()
{
    const FrameKey key{int(MenuBarAnimation::none), m_restingWidths, 0, MenuBarGlyph::defaultTint().rgba()};
    return frameImage(key, m_restingWidths, m_restingRadii);
}

void MenuBarIconAnimator::install(const std::shared_ptr<StatusItem> &item)
{
    m_item = item;
    if (item)
        item->setImage(restImage());
}

void MenuBarIconAnimator::resetToRest()
{
    stopTimer();
    m_restingWidths = restWidths;
    m_restingRadii = restRadii;
    if (const auto item = m_item.lock())
        item->setImage(restImage());
}

void MenuBarIconAnimator::playSwitch(MenuBarAnimation style)
{
    if (style == MenuBarAnimation::none)
        return;
    if (m_item.expired())
        return;
    // The interrupted animation's last frame stays until the new one draws; the rest is still
    // that of the last animation that ran to its end.
    stopTimer();
    switch (style) {
    case MenuBarAnimation::nudge:
        play(style, nudgeDuration, nudgeFrame(m_restingWidths));
        break;
    case MenuBarAnimation::mirror:
        play(style, mirrorDuration, mirrorFrame(m_restingWidths));
        break;
    case MenuBarAnimation::none:
        break;
    }
}

void MenuBarIconAnimator::play(MenuBarAnimation style, double duration, FrameFunction frame)
{
    const std::weak_ptr<StatusItem> item = m_item;
    if (item.expired())
        return;
    const double start = m_scheduler.now();
    const Widths rest = m_restingWidths;
    // The steps of the animation: a frame is the one of the step the clock has reached, so
    // the same few images serve every play from this rest.
    const int steps = std::max(1, int(std::ceil(duration / m_frameInterval - 1e-9)));
    // The timer is cancelled when the animator goes, so the tick never outlives it.
    m_timer = m_scheduler.every(m_frameInterval, [this, item, start, duration, steps, style, rest, frame = std::move(frame)] {
        const double p = std::min((m_scheduler.now() - start) / duration, 1.0);
        const int step = p >= 1 ? steps : std::min(steps, int(std::lround(p * steps)));
        const Widths widths = frame(double(step) / steps);
        const Widths frameRadii = radii(widths);
        if (const auto target = item.lock()) {
            const FrameKey key{int(style), rest, step, MenuBarGlyph::defaultTint().rgba()};
            target->setImage(frameImage(key, widths, frameRadii));
        }
        if (p >= 1) {
            m_restingWidths = widths;
            m_restingRadii = frameRadii;
            stopTimer();
        }
    });
}

void MenuBarIconAnimator::stopTimer()
{
    if (m_timer) {
        m_scheduler.cancel(*m_timer);
        m_timer.reset();
    }
}

MenuBarIconAnimator::FrameFunction MenuBarIconAnimator::nudgeFrame(const Widths &rest)
{
    const auto largest = std::max_element(rest.begin(), rest.end()); // the first of equals
    const auto smallest = std::min_element(rest.begin(), rest.end());
    const std::size_t iMax = std::size_t(largest - rest.begin());
    const std::size_t iMin = std::size_t(smallest - rest.begin());
    return [rest, iMax, iMin](double p) {
        Widths widths = rest;
        if (widths.size() < 2)
            return widths;
        const double b1 = bump(p);
        const double b2 = bump(p - 0.1);
        widths[1] += 11 * b1;
        widths[iMin] += 11 * b2;
        widths[iMax] -= 11 * (b1 + b2);
        return widths;
    };
}

MenuBarIconAnimator::FrameFunction MenuBarIconAnimator::mirrorFrame(const Widths &rest)
{
    if (rest.size() < 3)
        return [rest](double) { return rest; };
    Widths sorted = rest;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    const double l = sorted[0], m = sorted[1], s = sorted[2];
    const bool largestOnLeft = rest[2] < rest[0];
    const Widths k0 = largestOnLeft ? Widths{l, m, s} : Widths{s, m, l};
    const Widths k2 = largestOnLeft ? Widths{s, m, l} : Widths{l, m, s};
    const Widths k1{m, l, s};
    return [keyframes = std::vector<Widths>{k0, k1, k2}](double p) { return sample(keyframes, p); };
}

MenuBarIconAnimator::Widths MenuBarIconAnimator::sample(const std::vector<Widths> &keyframes, double progress)
{
    const std::size_t n = keyframes.size();
    if (n == 0)
        return {};
    if (n == 1)
        return keyframes.front();
    const double x = double(n - 1) * progress;
    const std::size_t i = std::min(n - 2, std::size_t(std::max(0.0, std::trunc(x))));
    const double f = x - double(i);
    const double e = f < 0.5 ? 2 * f * f : 1 - (2 - 2 * f) * (2 - 2 * f) / 2;
    const Widths &a = keyframes[i];
    const Widths &b = keyframes[i + 1];
    Widths result(std::min(a.size(), b.size()));
    for (std::size_t j = 0; j < result.size(); ++j)
        result[j] = a[j] + e * (b[j] - a[j]);
    return result;
}

MenuBarIconAnimator::Widths MenuBarIconAnimator::radii(const Widths &widths)
{
    // The rest layout's (width, radius) pairs, sorted by width.
    static constexpr double pairs[][2] = {{28, 13}, {44, 14}, {126, 16}};
    Widths result;
    result.reserve(widths.size());
    for (const double w : widths) {
        const double h = w / 2;
        double r;
        if (w <= pairs[0][0]) {
            r = pairs[0][1];
        } else if (w >= pairs[2][0]) {
            r = pairs[2][1];
        } else {
            const std::size_t k = w <= pairs[1][0] ? 0 : 1;
            const double wa = pairs[k][0], ra = pairs[k][1], wb = pairs[k + 1][0], rb = pairs[k + 1][1];
            r = ra + (rb - ra) * (w - wa) / (wb - wa);
        }
        result.push_back(std::min(h, r));
    }
    return result;
}

} // namespace quorvane
