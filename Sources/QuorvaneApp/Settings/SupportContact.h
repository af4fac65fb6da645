#pragma once

#include "Config.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace quorvane {

// The support mail and the diagnostics text the settings copy for it. Keeps no state.
class SupportContact {
public:
    SupportContact() = delete;

    // Set when the application is built (QUORVANE_SUPPORT_ADDRESS).
    static const QString address;

    // What the text says of this build: the short version ("dev" without one) and the build
    // ("–" unless the build names one).
    struct Build {
        QString version;
        QString build;
        static Build current();
    };

    static std::optional<QUrl> mailURL(const Build &build = Build::current());
    // Opens the mail with the given opener; nothing happens without a mail address.
    static void compose(const std::function<void(const QUrl &)> &openUrl);
    // This run's own log: the last `limit` entries of the application's subsystem, one a line,
    // "2026-12-08T07:27:12Z [swap] message"; "(no entries)" when there are none.
    static QString recentLog(int limit);
    static QString diagnostics(const Config &config, bool journalPending, const QString &storeRoot,
                               const Build &build = Build::current());
};

} // namespace quorvane
