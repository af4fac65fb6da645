#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// One request to the running instance: from the command line, or a plain second start's.
struct AppCommand {
    enum class Kind {
        switchTo,
        next,
        previous,
        hideDesktop,
        carousel,
        showSettings
    };
    Kind kind = Kind::showSettings;
    QString desktop = {}; // switchTo only

    bool operator==(const AppCommand &) const = default;
};

// What the command line's arguments ask for. A plain start (no request of ours) has neither a
// command nor help nor an error; Qt's own options (-platform, -style …) are left to Qt.
struct AppCommandLine {
    std::optional<AppCommand> command;
    bool help = false;
    bool version = false;
    QString error; // a usage error, said as one line

    static AppCommandLine parse(const QStringList &arguments);
    // Every option the command line takes (Qt's own aside), long names with their short forms.
    static QStringList optionNames();
    // The line --version prints: the program's name and its version.
    static QString versionText();
    // The text of --help: the options, and the exit statuses a script can rely on.
    static QString helpText();
};

// The exit statuses of a request.
namespace appexit {
constexpr int done = 0;
constexpr int refused = 1; // the running instance said no (an unknown desktop, a read-only document)
constexpr int usage = 2;
constexpr int notRunning = 3;
} // namespace appexit

} // namespace quorvane

Q_DECLARE_METATYPE(quorvane::AppCommand)
