#include "Dock/FloatingDock.h"

#include "Dock/FolderIconCache.h"
#include "Shared/ScreenCoordinates.h"
#include "Shared/Style.h"
#include "Windows/WindowLevel.h"

#include <QEasingCurve>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

const PreferenceReader &sessionPreferences()
{
    static LinuxPreferenceReader reader;
    return reader;
}

} // namespace

FloatingDock::FloatingDock(const SpaceIdentifier &spaces, Scheduler &scheduler, const PreferenceReader *preferences,
                           const CompositorProbe *compositor)
    : m_model(preferences ? *preferences : sessionPreferences())
    , m_spaces(spaces)
    , m_scheduler(scheduler)
    , m_preferences(preferences ? *preferences : sessionPreferences())
    , m_ownCompositor(compositor ? nullptr : std::make_unique<LinuxCompositorProbe>())
    , m_compositor(compositor ? *compositor : *m_ownCompositor)
{
}

FloatingDock::~FloatingDock()
{
    cancelRechecks();
    cancel(m_pin);
    cancel(m_moveQuiet);
    if (m_panel)
        m_panel->removeEventFilter(this);
}

void FloatingDock::cancel(std::optional<Scheduler::Token> &token)
{
    if (token)
        m_scheduler.cancel(*token);
    token.reset();
}

DockDropView &FloatingDock::ensurePanel()
{
    if (m_panel)
        return *m_panel;
    m_panel = std::make_unique<DockDropView>(m_model);
    m_panel->setWindowTitle(tr("Floating dock"));
    m_panel->setAttribute(Qt::WA_TranslucentBackground);
    applyWindowLevel(m_panel.get(), WindowLevel::floating, {false, false, false});
    m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
    m_view = new FloatingDockView(m_model, m_icons, m_panel.get());
    m_view->move(0, 0);
    QPointer<FloatingDock> weak(this);
    m_view->onSwitch = [weak](const QString &name) {
        if (weak && weak->onSwitch)
            weak->onSwitch(name);
    };
    m_view->onFlip = [weak](DockHalf target) {
        if (weak)
            weak->flip(target);
    };
    m_view->onClose = [weak] {
        if (weak)
            weak->hide();
    };
    m_view->onBackgroundPress = [weak] {
        if (weak && weak->m_panel && weak->m_panel->windowHandle())
            weak->m_panel->windowHandle()->startSystemMove();
    };
    m_panel->onDrop = [weak](const QList<QUrl> &files, const QString &name) {
        if (weak && weak->onDrop)
            weak->onDrop(files, name);
    };
    m_panel->installEventFilter(this);
    applyAppearance();
    return *m_panel;
}

void FloatingDock::setAppearance(AppearanceMode mode)
{
    m_appearance = mode;
    if (m_panel)
        applyAppearance();
}

void FloatingDock::applyAppearance()
{
    quorvane::applyAppearance(m_panel.get(), m_appearance);
}

void FloatingDock::show(const std::vector<DockSurface> &surfaces, const QString &accentHex,
                        const std::optional<FloatingDockPosition> &savedPosition)
{
    m_model.setSurfaces(surfaces);
    m_model.setAccentHex(accentHex);
    m_model.setMetrics(m_model.freshMetrics());
    m_icons.clear();
    m_wantsVisible = true;
    ensurePanel();
    m_view->setCompositing(m_compositor.compositing());
    fit();
    position(savedPosition);
    updateHalf();
    // The window manager puts the panel on the workspace shown now, then it is shown there
    // without taking the focus.
    m_spaces.provider().moveToCurrentDesktop(SpaceProvider::WindowId(m_panel->winId()));
    m_panel->show();
    m_panel->raise();
    const auto active = m_spaces.activeSpace();
    m_homeSpace = active ? std::optional<QString>(active->identity) : std::nullopt;
    cancel(m_pin);
    pinAfterMove(0);
}

void FloatingDock::pinAfterMove(int attempt)
{
    m_pin.reset();
    if (!m_wantsVisible || !m_panel || isOnActiveSpace() || attempt >= 12)
        return;
    m_spaces.provider().moveToCurrentDesktop(SpaceProvider::WindowId(m_panel->winId()));
    std::weak_ptr<bool> alive = m_alive;
    m_pin = m_scheduler.after(0.05, [this, alive, attempt] {
        if (alive.lock())
            pinAfterMove(attempt + 1);
    });
}

void FloatingDock::reload(const std::vector<DockSurface> &surfaces, const QString &accentHex)
{
    if (!m_wantsVisible || !m_panel)
        return;
    m_model.setSurfaces(surfaces);
    m_model.setAccentHex(accentHex);
    m_model.setMetrics(m_model.freshMetrics());
    m_icons.clear();
    m_view->update();
    fit();
    if (m_needsReplace) {
        m_needsReplace = false;
        position(std::nullopt);
        persist();
    } else {
        keepOnScreen();
    }
    updateHalf();
    assertHomeSpace();
}

void FloatingDock::setAxis(FloatingDockAxis axis)
{
    if (m_model.axis() == axis)
        return;
    m_model.setAxis(axis);
    m_model.clearTileFrames();
    m_needsReplace = true;
}

void FloatingDock::fit()
{
    if (!m_panel || !m_view)
        return;
    const QSize size = m_view->sizeHint();
    if (size.width() <= 0 || size.height() <= 0)
        return;
    // Qt keeps a window's top-left corner when it resizes it.
    m_suppressMove = true;
    m_panel->setFixedSize(size);
    m_suppressMove = false;
}

std::optional<QRectF> FloatingDock::frame() const
{
    if (!m_panel)
        return std::nullopt;
    return flippedRect(QRectF(m_panel->geometry()), primaryScreenBottom());
}

std::optional<QRectF> FloatingDock::visibleFrame() const
{
    const QScreen *screen = m_panel && m_panel->screen() ? m_panel->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return flippedRect(QRectF(screen->availableGeometry()), primaryScreenBottom());
}

QPointF FloatingDock::clamped(QPointF origin, const QSizeF &size, const QRectF &v) const
{
    origin.setX(std::min(std::max(origin.x(), v.left()), std::max(v.right() - size.width(), v.left())));
    origin.setY(std::min(std::max(origin.y(), v.top()), std::max(v.bottom() - size.height(), v.top())));
    return origin;
}

double FloatingDock::defaultGap(SystemDockEdge against) const
{
    double gap = m_model.metrics().edgeGap;
    if (SystemDock::edge(m_preferences) == against && SystemDock::autohide(m_preferences)) {
        const double t = SystemDock::tileSize(m_preferences);
        const double margin = std::max(8.0, roundPoints(t * 0.22));
        gap += t + 2 * margin;
    }
    return gap;
}

void FloatingDock::position(const std::optional<FloatingDockPosition> &saved)
{
    const auto v = visibleFrame();
    const auto f = frame();
    if (!v || !f)
        return;
    // QRectF is y-down in name only here: top() is the visible frame's lowest y, bottom() its
    // highest.
    const double w = f->width(), h = f->height();
    QPointF origin;
    if (saved) {
        origin = QPointF(v->left() + std::max(v->width() - w, 0.0) * saved->nx,
                         v->top() + std::max(v->height() - h, 0.0) * saved->ny);
    } else if (m_model.axis() == FloatingDockAxis::horizontal) {
        origin = QPointF(v->center().x() - w / 2, v->top() + defaultGap(SystemDockEdge::bottom));
    } else {
        const double x = SystemDock::edge(m_preferences) == SystemDockEdge::left
            ? v->right() - w - defaultGap(SystemDockEdge::right)
            : v->left() + defaultGap(SystemDockEdge::left);
        origin = QPointF(x, v->center().y() - h / 2);
    }
    setFrameOrigin(clamped(origin, f->size(), *v));
}

void FloatingDock::setFrameOrigin(const QPointF &origin)
{
    if (!m_panel)
        return;
    const QRectF placed = flippedRect(QRectF(origin, QSizeF(m_panel->size())), primaryScreenBottom());
    const QPoint topLeft(int(std::lround(placed.x())), int(std::lround(placed.y())));
    m_ownPositions.append(topLeft);
    while (m_ownPositions.size() > 64)
        m_ownPositions.removeFirst();
    const bool wasSuppressed = m_suppressMove;
    m_suppressMove = true;
    m_panel->move(topLeft);
    m_suppressMove = wasSuppressed;
}

DockHalf FloatingDock::currentHalf(const QRectF &f, const QRectF &v) const
{
    if (m_model.axis() == FloatingDockAxis::vertical)
        return f.center().x() >= v.center().x() ? DockHalf::trailing : DockHalf::leading;
    return f.center().y() >= v.center().y() ? DockHalf::upper : DockHalf::lower;
}

void FloatingDock::updateHalf()
{
    const auto v = visibleFrame();
    const auto f = frame();
    if (v && f)
        m_model.setHalf(currentHalf(*f, *v));
}

void FloatingDock::persist()
{
    const auto v = visibleFrame();
    const auto f = frame();
    if (!v || !f)
        return;
    const double aw = std::max(v->width() - f->width(), 0.0);
    const double ah = std::max(v->height() - f->height(), 0.0);
    const double nx = aw > 0 ? (f->left() - v->left()) / aw : 0;
    const double ny = ah > 0 ? (f->top() - v->top()) / ah : 0;
    if (onMove)
        onMove({std::clamp(nx, 0.0, 1.0), std::clamp(ny, 0.0, 1.0)});
}

void FloatingDock::keepOnScreen()
{
    const auto v = visibleFrame();
    const auto f = frame();
    if (!v || !f)
        return;
    const QPointF origin = clamped(f->topLeft(), f->size(), *v);
    if (std::abs(origin.x() - f->left()) < 0.5 && std::abs(origin.y() - f->top()) < 0.5)
        return;
    setFrameOrigin(origin);
    persist();
}

double FloatingDock::duration(const QRectF &from, const QRectF &to, const QRectF &v) const
{
    const bool vertical = m_model.axis() == FloatingDockAxis::vertical;
    const double travel = vertical ? std::abs(to.left() - from.left()) : std::abs(to.top() - from.top());
    const double span = vertical ? v.width() - from.width() : v.height() - from.height();
    if (span <= 0)
        return m_flipDuration;
    const double r = std::clamp(travel / span, 0.0, 1.0);
    return m_flipDuration * (0.3 + 0.7 * std::sqrt(r));
}

void FloatingDock::flip(DockHalf target)
{
    const auto v = visibleFrame();
    const auto f = frame();
    if (!m_panel || !v || !f || currentHalf(*f, *v) == target)
        return;
    QPointF to = f->topLeft();
    if (target == DockHalf::leading || target == DockHalf::trailing)
        to.setX(v->right() - (f->left() - v->left()) - f->width());
    else
        to.setY(v->bottom() - (f->top() - v->top()) - f->height());
    to = clamped(to, f->size(), *v);
    m_model.setHalf(target);
    m_suppressMove = true;
    if (m_flip) {
        m_flip->disconnect(this);
        m_flip->stop();
        m_flip->deleteLater();
    }
    m_flip = new QVariantAnimation(this);
    m_flip->setStartValue(f->topLeft());
    m_flip->setEndValue(to);
    m_flip->setDuration(int(std::lround(1000 * duration(*f, QRectF(to, f->size()), *v))));
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.76, 0), QPointF(0.24, 1), QPointF(1, 1));
    m_flip->setEasingCurve(curve);
    connect(m_flip, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        setFrameOrigin(value.toPointF());
    });
    connect(m_flip, &QVariantAnimation::finished, this, [this] {
        m_suppressMove = false;
        persist();
    });
    m_flip->start();
}

bool FloatingDock::eventFilter(QObject *watched, QEvent *event)
{
    if (m_panel && watched == m_panel.get() && event->type() == QEvent::Move && !m_suppressMove
        && !m_ownPositions.contains(m_panel->pos()))
        userMoved();
    return QObject::eventFilter(watched, event);
}

void FloatingDock::userMoved()
{
    // A drag reports many moves: the position is taken once the panel has come to rest.
    m_ownPositions.clear();
    cancel(m_moveQuiet);
    std::weak_ptr<bool> alive = m_alive;
    m_moveQuiet = m_scheduler.after(userMoveQuiet, [this, alive] {
        if (!alive.lock())
            return;
        m_moveQuiet.reset();
        if (!m_panel)
            return;
        updateHalf();
        persist();
    });
}

bool FloatingDock::isOnActiveSpace() const
{
    if (!m_panel || !m_panel->isVisible())
        return false;
    const SpaceProvider &provider = m_spaces.provider();
    const auto current = provider.currentDesktop();
    const auto desktop = provider.windowDesktop(SpaceProvider::WindowId(m_panel->winId()));
    if (!current || !desktop)
        return true; // without workspaces a shown panel is where the user is
    return *desktop == *current || *desktop == SpaceProvider::allDesktops;
}

void FloatingDock::assertHomeSpace()
{
    if (!m_wantsVisible || !m_panel || !m_homeSpace)
        return;
    const auto active = m_spaces.activeSpace();
    if (!active)
        return;
    const bool onActive = isOnActiveSpace();
    if (active->identity == *m_homeSpace && !onActive) {
        m_spaces.provider().moveToCurrentDesktop(SpaceProvider::WindowId(m_panel->winId()));
        m_panel->show();
        m_panel->raise();
    } else if (active->identity != *m_homeSpace && onActive) {
        m_panel->hide();
    }
}

void FloatingDock::activeSpaceChanged()
{
    assertHomeSpace();
    cancelRechecks();
    std::weak_ptr<bool> alive = m_alive;
    for (const double delay : {0.05, 0.15, 0.3, 0.6, 1.0, 1.5}) {
        m_rechecks.push_back(m_scheduler.after(delay, [this, alive] {
            if (alive.lock())
                assertHomeSpace();
        }));
    }
}

void FloatingDock::cancelRechecks()
{
    for (const Scheduler::Token token : m_rechecks)
        m_scheduler.cancel(token);
    m_rechecks.clear();
}

void FloatingDock::hide()
{
    m_wantsVisible = false;
    cancelRechecks();
    cancel(m_pin);
    if (m_panel)
        m_panel->hide();
}

bool FloatingDock::isParkedElsewhere() const
{
    if (!m_wantsVisible)
        return false;
    if (m_homeSpace) {
        if (const auto active = m_spaces.activeSpace())
            return active->identity != *m_homeSpace;
    }
    if (!m_panel)
        return false;
    return m_panel->isVisible() && !isOnActiveSpace();
}

} // namespace quorvane
