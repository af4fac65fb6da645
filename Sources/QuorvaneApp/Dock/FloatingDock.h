#pragma once

#include "AppearanceMode.h"
#include "Dock/DockDropView.h"
#include "Dock/DockSurface.h"
#include "Dock/FloatingDockModel.h"
#include "Dock/FloatingDockView.h"
#include "FloatingDockTypes.h"
#include "Session/PreferenceReader.h"
#include "Triggers/SpaceIdentifier.h"
#include "Windows/CompositorProbe.h"
#include "Work/Scheduler.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QUrl>
#include <QVariantAnimation>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// The floating panel with one tile per live desktop: placed at a remembered position or by
// the session dock's edge, dragged anywhere, flipped to the other half of the screen, and
// kept on the workspace it was opened on. Geometry is worked out in y-up coordinates.
// Main thread only.
class FloatingDock : public QObject {
    Q_OBJECT

public:
    static constexpr double userMoveQuiet = 0.25;

    FloatingDock(const SpaceIdentifier &spaces, Scheduler &scheduler, const PreferenceReader *preferences = nullptr,
                 const CompositorProbe *compositor = nullptr);
    ~FloatingDock() override;

    std::function<void(const QString &name)> onSwitch;
    std::function<void(const QList<QUrl> &files, const QString &name)> onDrop;
    std::function<void(const FloatingDockPosition &position)> onMove;

    // Whether the dock was shown and not hidden since.
    bool wantsVisible() const { return m_wantsVisible; }
    // The panel; none until first shown.
    DockDropView *panel() const { return m_panel.get(); }
    // The flip's duration in seconds, when it runs its whole way.
    double flipDuration() const { return m_flipDuration; }
    void setFlipDuration(double seconds) { m_flipDuration = seconds; }
    // What the tiles show and how they are laid out.
    FloatingDockModel &model() { return m_model; }
    const FloatingDockModel &model() const { return m_model; }

    void show(const std::vector<DockSurface> &surfaces, const QString &accentHex,
              const std::optional<FloatingDockPosition> &savedPosition);
    // Refreshes an open dock; nothing while it is hidden or was never shown.
    void reload(const std::vector<DockSurface> &surfaces, const QString &accentHex);
    // A new axis empties the tile frames and re-places the panel at the next reload.
    void setAxis(FloatingDockAxis axis);
    // The appearance of the panel from now on, and of the live panel at once.
    void setAppearance(AppearanceMode mode);
    void activeSpaceChanged();
    void hide();
    bool isParkedElsewhere() const;
    void cancelRechecks();
    void flip(DockHalf target);

    bool needsReplacement() const { return m_needsReplace; }
    const std::optional<QString> &homeSpaceIdentity() const { return m_homeSpace; }
    FloatingDockView *view() const { return m_view; }
    QVariantAnimation *flipAnimation() const { return m_flip; }
    // The panel's frame and its screen's visible frame, y-up; none without a panel or screen.
    std::optional<QRectF> frame() const;
    std::optional<QRectF> visibleFrame() const;
    bool isOnActiveSpace() const;
    // The flip's duration in seconds.
    double duration(const QRectF &from, const QRectF &to, const QRectF &visible) const;
    double defaultGap(SystemDockEdge against) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DockDropView &ensurePanel();
    void fit();
    void position(const std::optional<FloatingDockPosition> &saved);
    void updateHalf();
    DockHalf currentHalf(const QRectF &frame, const QRectF &visible) const;
    void persist();
    void keepOnScreen();
    QPointF clamped(QPointF origin, const QSizeF &size, const QRectF &visible) const;
    void setFrameOrigin(const QPointF &origin);
    void userMoved();
    void assertHomeSpace();
    void pinAfterMove(int attempt);
    void applyAppearance();
    void cancel(std::optional<Scheduler::Token> &token);

    bool m_wantsVisible = false;
    // The tiles' folder icons, emptied each time the dock is shown or reloaded.
    FolderIconCache m_icons;
    std::unique_ptr<DockDropView> m_panel;
    double m_flipDuration = 0.12;
    AppearanceMode m_appearance = AppearanceMode::system;
    FloatingDockModel m_model;
    const SpaceIdentifier &m_spaces;
    Scheduler &m_scheduler;
    const PreferenceReader &m_preferences;
    // The display's own probe when none was given.
    std::unique_ptr<const CompositorProbe> m_ownCompositor;
    const CompositorProbe &m_compositor;
    FloatingDockView *m_view = nullptr;
    QVariantAnimation *m_flip = nullptr;
    bool m_suppressMove = false;
    bool m_needsReplace = false;
    std::optional<QString> m_homeSpace;
    std::vector<Scheduler::Token> m_rechecks;
    std::optional<Scheduler::Token> m_pin;
    std::optional<Scheduler::Token> m_moveQuiet;
    QList<QPoint> m_ownPositions; // where the dock itself put the panel lately
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quorvane
