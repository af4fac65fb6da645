#pragma once

#include <QColor>
#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

// What the desktop tells about the panel that holds the status area.
struct StatusPanelHints {
    QString currentDesktop;            // XDG_CURRENT_DESKTOP
    std::optional<bool> xfcePanelDark; // the XFCE panel's own dark-mode switch, when set
    QString themeName;                 // the GTK theme in use
    QString colorScheme;               // the session's colour-scheme preference
    QString kdeColorScheme = {};       // Plasma's colour scheme (kdeglobals), which its panel follows
    QString cinnamonTheme = {};        // Cinnamon's own theme, which draws its panel

    // Read from the running session (xfconf and GSettings, each at most a few seconds): a
    // child process per setting, waited for, so never on the GUI thread.
    static StatusPanelHints probe();
    // probe() away from the event loop (HostWork), its answer handed to `then` on the GUI thread.
    static void probeLater(std::function<void(const StatusPanelHints &)> then);
};

// Whether the panel is dark, as far as the hints tell: XFCE's panel switch, else GNOME's top bar
// (dark in every style), else Plasma's colour scheme, else Cinnamon's theme (its panel is dark
// but in a light theme), else the session's dark preference or theme. The application's own look
// says nothing about the panel: with no hint the panel counts as light.
bool statusPanelIsDark(const StatusPanelHints &hints);

// The glyph's colour on that panel.
QColor statusGlyphColour(bool darkPanel);

// The contrast ratio of two colours as the accessibility guidelines define it, 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);
// Of the glyph's two colours, the one that stands out more against what the panel shows.
QColor statusGlyphColourOn(const QColor &panel);
// The colour most of the opaque pixels have (per channel, the median): a panel's background
// even with text and other icons on it. Invalid for an image without opaque pixels.
QColor dominantColour(const QImage &pixels);

// Tells when a setting the shade is read from changes: XFCE's panel switch or its theme (the
// per-desktop appearance switch changes the theme, and a panel without its own switch follows).
class StatusPanelShadeWatcher final : public QObject {
    Q_OBJECT
public:
    StatusPanelShadeWatcher(std::function<void()> changed, QDBusConnection bus = QDBusConnection::sessionBus(),
                            QObject *parent = nullptr);

private Q_SLOTS:
    void xfconfPropertyChanged(const QString &channel, const QString &property);

private:
    std::function<void()> m_changed;
};

} // namespace quorvane
