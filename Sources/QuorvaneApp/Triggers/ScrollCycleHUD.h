#pragma once

#include "Overlays/FrameAnimation.h"
#include "Windows/ScreenList.h"
#include "Work/Scheduler.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QWidget;

namespace quorvane {

// The small display of the desktop ring shown while scrolling over the status icon: the
// reached desktop's name with its neighbours above and below, in a dark rounded panel centred
// on the screen under the pointer. An unmanaged tool-tip window above everything; it never
// takes focus or clicks. Built on the first show, then kept.
class ScrollCycleHUD {
public:
    static inline const QString panelTitle = QStringLiteral("Quorvane scroll");
    static constexpr double fadeInDuration = 0.12;
    static constexpr double fadeOutDuration = 0.22;
    static constexpr double slideDuration = 0.16;
    static constexpr double slideDistance = 26;
    static constexpr int minimumWidth = 200;
    static constexpr int maximumWidth = 720; // room for names of 24 characters
    static constexpr int height = 152;

    struct Labels {
        QString previous;
        QString current;
        QString next;
        bool operator==(const Labels &) const = default;
    };

    // pointer: where the pointer is, in screen coordinates.
    ScrollCycleHUD(Scheduler &scheduler, ScreenList &screens, std::function<QPoint()> pointer);
    ~ScrollCycleHUD();

    // The three texts for the selected name; none for an index outside the ring. The ends are
    // empty unless wraps is set and the ring has at least two names.
    static std::optional<Labels> labelsFor(const QStringList &ring, int index, bool wraps);

    // Nothing for an index outside the ring. slide's sign moves the names up or down; the
    // first show of a run fades in from nothing and does not slide. A show while the panel
    // fades out cancels its ordering out.
    void show(const QStringList &ring, int index, bool wraps, int slide);
    // Fades the visible panel out, then orders it out.
    void hide();

    const Labels &labels() const { return m_labels; }
    QWidget *panel() const { return m_panel.get(); }
    // The names' vertical offset from their resting place, in pixels (downwards positive).
    double slideOffset() const { return m_slideOffset; }
    // The text each row shows, shortened with an ellipsis to fit the panel.
    Labels shownTexts() const;

private:
    void ensurePanel();
    void resizePanel();
    void centrePanel();
    void placeStack();
    void animateSlide(int direction);

    Scheduler &m_scheduler;
    ScreenList &m_screens;
    std::function<QPoint()> m_pointer;
    std::unique_ptr<QWidget> m_panel;
    QWidget *m_stack = nullptr;
    QLabel *m_prevLabel = nullptr;
    QLabel *m_currentLabel = nullptr;
    QLabel *m_nextLabel = nullptr;
    Labels m_labels;
    double m_slideOffset = 0;
    FrameAnimation m_fade;
    FrameAnimation m_slide;
};

} // namespace quorvane
