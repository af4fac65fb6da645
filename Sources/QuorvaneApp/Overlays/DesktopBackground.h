#pragma once

#include "DesktopCue.h"
#include "DesktopHosts/BackgroundHost.h"
#include "Paths.h"
#include "SettingsLedger.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace quorvane {

// A desktop cue below the icons shown as the desktop host's own background, and the user's
// own background put back afterwards, exactly. Before the host is changed, each setting's user
// value goes into the store's ledger (SettingsLedger, facility "background:<host>") with the
// value written over it; it stays there until it is back, so a crash never loses it. A setting
// the user changed while a cue was shown (it no longer holds what was written) is the user's new
// value: it is kept, never overwritten with the stale one. A value the application wrote (what
// the ledger says it wrote, earlier cues included, or any picture of the store) is never taken
// as the user's, whatever the host shows late or a crash left between the ledger and the host. A "background.json" that an earlier
// version kept in the store is taken into the ledger the first time either is needed.
class DesktopBackground {
public:
    // Where earlier versions kept the user's background.
    static inline const QString legacyFileName = QStringLiteral("background.json");
    static inline const QString facilityPrefix = QStringLiteral("background:");

    // iconWindow: whether a program draws the Desktop's icons in a window of its own.
    DesktopBackground(const Paths &paths, BackgroundHostFinder findHost, std::function<bool()> iconWindow = {});

    // Shows the fill through the session's desktop host. False when there is none (the cue
    // then needs windows of its own); true otherwise, even when the host refused (logged).
    // Below full opacity, and given the screen's size, the host shows one picture of that size
    // kept in the store: the user's own wallpaper with the fill laid over it at that opacity. The
    // host is told away from the event loop (HostWork), in the order asked: it never holds a
    // switch.
    bool show(const DesktopCue::Fill &fill, double opacity = 1.0, QSize screen = {});
    // Puts the user's own background back when one is kept; the file goes once the host has
    // taken it. Without the host that it belongs to, it stays kept (logged). Away from the
    // event loop as show() is; HostWork::drain() waits for it.
    void putBack();
    // A program draws the Desktop's icons and its wallpaper in one window of its own, and no
    // host serves that wallpaper: nothing can lie between the two, and a window of ours would
    // hide the icons.
    bool belowIconsUnavailable() const;
    // Whether a user's background waits in the store.
    bool keeping() const;
    // Whether this process has shown a fill since it last put the background back.
    bool shownHere() const { return m_shownHere; }

    // The ledger's file.
    QString keptFile() const { return m_ledger.file(); }

private:
    // The ledger's background entries, after taking in an earlier version's file; none when the
    // ledger cannot be read.
    std::optional<std::vector<SettingsLedger::Entry>> kept();
    void adoptLegacyFile();
    // Whether a value read from the host is one this application wrote: what the entry says it
    // wrote, or a picture of the store.
    bool isOurs(const SettingsLedger::Entry *entry, const QVariant &value) const;
    // The work of show() and putBack(), on the host work's thread, each on a copy of this.
    void showOn(BackgroundHost &host, const DesktopCue::Fill &fill, double opacity, QSize screen);
    void putBackNow();
    QString colorPicture(const QString &hex) const;
    // Keeps the picture in the store under the name, the one picture of the background there.
    QString storePicture(const QString &name, const QImage &picture) const;

    Paths m_paths;
    SettingsLedger m_ledger;
    BackgroundHostFinder m_findHost;
    std::function<bool()> m_iconWindow;
    bool m_shownHere = false;
};

} // namespace quorvane
