#include "Overlays/DesktopCueOverlay.h"

#include "Overlays/CueImageCache.h"
#include "Shared/Style.h"

#include <QImage>
#include <QPainter>

namespace quorvane {

namespace {

bool onlyOpacityDiffers(const std::optional<DesktopCue> &applied, const std::optional<DesktopCue> &current)
{
    if (!applied || !current)
        return false;
    DesktopCue same = *applied;
    same.opacity = current->opacity;
    return same == *current;
}

} // namespace

DesktopCueOverlay::DesktopCueOverlay(ScreenList &screens, CompositorProbe &compositor, DesktopBackground *background,
                                     DocumentService *documents, CueImageCache *images)
    : m_ownImages(images ? nullptr : std::make_unique<CueImageCache>())
    , m_images(images ? *images : *m_ownImages)
    , m_screens(screens)
    , m_compositor(compositor)
    , m_background(background)
{
    m_observer = m_screens.observe([this] { relayout(); });
    m_compositor.setOnChange([this] { relayout(); });
    if (!documents)
        return;
    using Change = DocumentService::Change;
    QObject::connect(documents, &DocumentService::changed, &m_listening,
                     [this](const Config &config, DocumentService::Changes what) {
                         if (what & (Change::settings | Change::workspaces | Change::active | Change::state))
                             showDesktop(config, config.activeWorkspace);
                     });
}

void DesktopCueOverlay::show(const std::optional<DesktopCue> &cue, bool hideStripInFullScreen)
{
    m_current = cue;
    m_hideStripInFullScreen = hideStripInFullScreen;
    relayout();
}

void DesktopCueOverlay::showDesktop(const Config &config, const QString &name)
{
    const Workspace *workspace = config.workspace(name);
    const bool shown = workspace && workspace->cue && workspace->cue->enabled && !config.settings.overlaysMuted;
    show(shown ? workspace->cue : std::nullopt, config.settings.hideMenuBarTintInFullScreen);
}

DesktopCueOverlay::~DesktopCueOverlay()
{
    m_compositor.setOnChange({});
    m_screens.unobserve(m_observer);
}

void DesktopCueOverlay::relayout()
{
    const QList<QRect> frames = m_screens.frames();
    const bool compositing = m_compositor.compositing();
    const bool sameSurroundings = frames == m_applied.screenFrames && m_hideStripInFullScreen == m_applied.hideStripInFullScreen
        && compositing == m_applied.compositing;
    if (sameSurroundings && m_current == m_applied.cue) {
        for (const auto &band : m_bands)
            band->raise();
        return;
    }
    if (sameSurroundings && !m_bands.empty() && onlyOpacityDiffers(m_applied.cue, m_current)) {
        for (const auto &band : m_bands)
            setWindowOpacity(band.get(), m_current->opacity);
        m_applied.cue = m_current;
        return;
    }

    m_applied = Applied{m_current, frames, m_hideStripInFullScreen, compositing};
    for (auto &band : m_bands)
        m_leaving.push_back(std::move(band));
    m_bands.clear();
    ++m_generation;

    // Below the icons, through the desktop host where there is one; an image that cannot be
    // read shows nothing there either.
    const bool readable = m_current
        && (m_current->fill.kind == DesktopCue::Fill::Kind::color || !m_images.image(m_current->fill.value).isNull());
    if (m_background) {
        const QSize screen = frames.isEmpty() ? QSize() : frames.front().size();
        if (readable && !m_current->aboveIcons && m_background->show(m_current->fill, m_current->opacity, screen)) {
            m_leaving.clear();
            return;
        }
        // Only what this process showed: a background kept by another instance, or by one
        // that crashed, is the launch's to put back.
        if (m_background->shownHere())
            m_background->putBack();
        // A window of ours at the desktop's level would lie over the icon window: nothing
        // shows below the icons there (the wallpaper editor says so).
        if (m_current && !m_current->aboveIcons && m_background->belowIconsUnavailable()) {
            m_leaving.clear();
            return;
        }
    }

    OverlayWindow::Painter paint;
    if (m_current && compositing) {
        if (m_current->fill.kind == DesktopCue::Fill::Kind::color) {
            // An unreadable colour text shows the default accent colour.
            const QColor color = colorFromHex(m_current->fill.value);
            paint = [color](QPainter &painter, const QRect &area) { painter.fillRect(area, color); };
        } else if (const QImage image = m_images.image(m_current->fill.value); !image.isNull()) {
            // Scaled on both axes to fill the screen; the aspect ratio is not kept.
            paint = [image](QPainter &painter, const QRect &area) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(area, image);
            };
        }
    }
    if (!paint || !overlayServed("the desktop cue")) {
        m_leaving.clear(); // hides them
        return;
    }
    const WindowLevel level = m_current->aboveIcons ? WindowLevel::aboveIcons : WindowLevel::desktop;
    for (const QRect &frame : frames) {
        auto band = std::make_unique<OverlayWindow>(bandTitle, frame, level, paint);
        setWindowOpacity(band.get(), m_current->opacity);
        m_bands.push_back(std::move(band));
    }
    retireLeavingWhenPainted();
    for (const auto &band : m_bands)
        band->show();
}

void DesktopCueOverlay::retireLeavingWhenPainted()
{
    m_unpainted = m_bands.size();
    if (m_unpainted == 0) {
        m_leaving.clear();
        return;
    }
    const unsigned generation = m_generation;
    for (const auto &band : m_bands) {
        band->onFirstPaint = [this, generation] {
            if (generation != m_generation || m_unpainted == 0)
                return;
            if (--m_unpainted == 0)
                m_leaving.clear();
        };
    }
}

} // namespace quorvane
