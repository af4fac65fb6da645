#pragma once

#include "BackgroundHost.h"
#include "DesktopCue.h"
#include "Paths.h"

#include <QString>
#include <QVariantMap>

#include <optional>

namespace quorvane {

// A desktop cue below the icons shown as the desktop host's own background, and the user's
// own background put back afterwards, exactly. Before the host is first changed, the user's
// values go into a file of the store ("background.json") with the values written over them;
// they stay there until they are back, so a crash never loses them. A setting the user changed
// while a cue was shown (it no longer holds what was written) is the user's new value: it is
// kept, never overwritten with the stale one.
class DesktopBackground {
public:
    static inline const QString fileName = QStringLiteral("background.json");

    DesktopBackground(const Paths &paths, BackgroundHostFinder findHost);

    // Shows the fill through the session's desktop host. False when there is none (the cue
    // then needs windows of its own); true otherwise, even when the host refused (logged).
    bool show(const DesktopCue::Fill &fill);
    // Puts the user's own background back when one is kept; the file goes once the host has
    // taken it. Without the host that it belongs to, it stays kept (logged).
    void putBack();
    // Whether a user's background waits in the store.
    bool keeping() const;
    // Whether this process has shown a fill since it last put the background back.
    bool shownHere() const { return m_shownHere; }

    QString keptFile() const { return m_paths.store() + QLatin1Char('/') + fileName; }

private:
    struct Kept {
        QString host;
        QVariantMap user;    // the user's own values
        QVariantMap written; // what the last cue wrote over them
    };
    std::optional<Kept> load() const;
    bool save(const Kept &kept) const;
    QString colorPicture(const QString &hex) const;

    Paths m_paths;
    BackgroundHostFinder m_findHost;
    bool m_shownHere = false;
};

} // namespace quorvane
