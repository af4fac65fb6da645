#pragma once

#include "Tray/StatusItem.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

namespace quorvane {

// The status item on whatever status area the session has, now or later: a StatusNotifier item
// while a watcher runs, else an icon in an embedding tray, else nothing until one of them
// appears. Everything set on it is kept and handed to the item that shows it, and the glyph's
// colour follows what the panel really shows around the item (its theme's settings when its
// pixels can't be read), never the application's own look.
class PanelStatusItem final : public QObject, public StatusItem {
    Q_OBJECT
public:
    struct Sources {
        std::function<std::unique_ptr<StatusItem>()> makeNotifierItem;
        std::function<std::unique_ptr<StatusItem>()> makeTrayItem;
        std::function<bool()> watcherPresent;
        std::function<bool()> trayPresent;
        // Asks for the glyph's colour as the panel's theme settings tell it; the answer comes on
        // the GUI thread, later (settings read through a child process) or at once.
        std::function<void(std::function<void(QColor)> answer)> themeGlyphColour;
        // Starts watching for status areas that come (or come back) later, each change calling
        // statusAreasChanged(): once the item is first shown, from the event loop, so that the
        // icon docks without waiting for the watchers' round trips. What changed before they
        // watched is looked at then.
        std::function<void(PanelStatusItem &)> watchAreas;
    };
    // The panel is read again at most this often while images change (an animation's frames).
    static constexpr int shadeIntervalMs = 2000;
    // After the tool tip changes (a switch, which may have given the session another look), the
    // panel is read again once it has had this long to redraw itself.
    static constexpr int shadeAfterChangeMs = 1500;

    explicit PanelStatusItem(Sources sources, QObject *parent = nullptr);
    ~PanelStatusItem() override;

    bool isAvailable() const override;
    void setVisible(bool visible) override;
    void setImage(const QImage &image) override;
    void setToolTip(const QString &title, const QString &text) override;
    void setMenu(QMenu *menu) override;
    void setOnClick(std::function<void(const Click &)> onClick) override;
    void setOnWheel(std::function<void(const Wheel &)> onWheel) override;
    void popUpMenu(QMenu &menu) override;
    void setOnAvailabilityChanged(std::function<void(bool available)> changed) override;
    std::optional<QColor> panelColour() const override;

    // Which kind of item shows now.
    enum class Kind {
        none,
        notifier,
        tray
    };
    Kind kind() const { return m_kind; }
    QColor glyphColour() const { return m_glyphColour; }

public Q_SLOTS:
    // A StatusNotifier watcher appeared or went away, or an embedding tray appeared: the item
    // moves to the status area there is; one that stays where it was is docked there anew, and
    // the panel is read again.
    void statusAreasChanged();
    // Reads the panel again and redraws the glyph in the colour that stands out on it.
    void refreshShade();
    // The panel's look changed (its theme settings): it is read again as it redraws, in its own
    // time, which on a busy machine can be seconds.
    void panelLookChanged();

private:
    void adopt(Kind kind);
    void refreshShadeSoon();
    // The glyph in this colour, on the item that shows.
    void showGlyphColour(const QColor &colour);
    // Asks the theme again: one question at a time, and one more when asked meanwhile.
    void askTheme();
    void themeAnswered(const QColor &colour);

    Sources m_sources;
    Kind m_kind = Kind::none;
    std::unique_ptr<StatusItem> m_item;
    bool m_available = false;
    bool m_visible = false;
    QImage m_image;
    QString m_toolTipTitle;
    QString m_toolTipText;
    QPointer<QMenu> m_menu;
    QColor m_glyphColour;
    // The theme's last answer (invalid before the first), and whether a question is out.
    QColor m_themeColour;
    bool m_themeAsked = false;
    bool m_themeAgain = false;
    QElapsedTimer m_sinceShade;
    QTimer m_shadeAfterChange;
    std::function<void(const Click &)> m_onClick;
    std::function<void(const Wheel &)> m_onWheel;
    std::function<void(bool)> m_onAvailabilityChanged;
};

} // namespace quorvane
