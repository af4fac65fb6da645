#pragma once

#include "EnumNames.h"
#include "Shared/AppInfo.h"

#include <QString>

#include <functional>

namespace quorvane {

class LoginItem;

// Where the running application lies, and its move into the per-user install. The
// applications folder of this platform is the per-user install prefix ~/.local (the executable
// in bin/, its desktop entry in share/applications/). No copy is ever run from a temporary
// read-only copy of itself, so a copy is either fine where it is or in the download folder.
class InstallLocation {
public:
    enum class Situation {
        fine,
        inDownloads
    };

    // The per-user install prefix of that home.
    static QString applications(const QString &home);
    // The home's download folder as its user-dirs file names it (~/Downloads when it names
    // none); empty when that is the home folder itself.
    static QString downloadsFolder(const QString &home);

    // The name of the distribution package that installs the application under /usr.
    static const QString packageName;
    // Whether the executable was put in place by the system's package manager: it lies under
    // /usr, outside /usr/local (where an administrator's own installs go).
    static bool isPackaged(const AppInfo &info);
    // The command that removes the package.
    static QString packageRemovalCommand();

    // Fine without an identifier, when packaged or inside the per-user install; in Downloads
    // inside the download folder; else fine.
    static Situation situation(const AppInfo &info, const QString &home);
    // The name of the folder that holds the executable's install prefix
    // (~/Downloads/quorvane-1.0/bin/quorvane: "Downloads").
    static QString sourceFolderName(const AppInfo &info);

    // The file operations of the move, replaceable so that a test can stop between them.
    struct Operations {
        // Moves the item to the Trash; throws InstallError when it cannot.
        std::function<void(const QString &path)> trash;
        // Moves without ever replacing; 0 or errno.
        std::function<int(const QString &from, const QString &to)> move;
        // Copies a file to a new path keeping its mode; 0 or errno.
        std::function<int(const QString &from, const QString &to)> copy;
        // Whether the folder lies on a read-only volume.
        std::function<bool(const QString &folder)> readOnly;

        // The system's; a move or copy across file systems is recorded in `copyRecords`
        // (Paths::copyRecords).
        static Operations standard(const QString &copyRecords);
    };

    // Puts the executable and its desktop entry into the per-user install: an item already at
    // either place goes to the Trash first; a source on a read-only volume is copied, any other
    // moved. The login item goes once the executable is in place. Returns the identity of the
    // moved application; throws InstallError on failure.
    static AppInfo moveToApplications(const AppInfo &info, const QString &home, LoginItem *loginItem,
                                      const Operations &operations);

    // Starts the executable as a new instance; a failure is logged. This instance then quits
    // (terminate) either way.
    static void relaunch(const QString &executable, const std::function<void()> &terminate);
};

template <>
struct EnumNames<InstallLocation::Situation> {
    static constexpr const char *names[] = {"fine", "inDownloads"};
};

} // namespace quorvane
