#pragma once

#include "Shared/AppInfo.h"

#include <QKeySequence>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace quorvane {

// The standard application, Edit and Window menus. Linux has no global menu bar, so the
// menus are installed as actions of each of the application's own windows: their key
// equivalents work while that window is active. The command modifier is Ctrl.
class MainMenu {
public:
    enum class Command {
        about,
        hide,
        hideOthers,
        quit,
        undo,
        redo,
        cut,
        copy,
        paste,
        pasteAndMatchStyle,
        deleteSelection,
        selectAll,
        minimize,
        close,
    };

    struct Item {
        QString title;                  // empty for a separator
        std::optional<Command> command; // none for a separator
        QKeySequence keyEquivalent;     // empty for none
        bool isSeparator() const { return !command.has_value(); }
    };

    struct Menu {
        QString title;
        std::vector<Item> items;
    };

    // The application's display name, "Quorvane" when the identity carries none.
    static QString appName(const AppInfo &info);
    // The application menu (titled with the app name), then Edit, then Window.
    static std::vector<Menu> build(const AppInfo &info);
    // Adds the menus' actions to the window, once per window. The application menu's
    // commands act on the application; Edit sends to the focused widget; Window to the window.
    static void install(QWidget *window, const AppInfo &info);
};

} // namespace quorvane
