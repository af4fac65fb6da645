#pragma once

#include "Config.h"
#include "HotKeySpec.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QMenu;

namespace quorvane {

// What choosing a status-menu item does.
enum class StatusMenuAction {
    none,
    switchWorkspace,
    toggleCollapse,
    newWorkspace,
    openCalendar,
    toggleDock,
    toggleScreenshotFilteringPause,
    openSettings,
    checkForUpdates,
    quit,
};

// One item of the status menu; a separator has no title and no action.
struct StatusMenuItem {
    bool separator = false;
    QString title;
    StatusMenuAction action = StatusMenuAction::none;
    QString workspace; // the desktop a switchWorkspace item names
    bool enabled = true;
    bool checkable = false; // the item shows an on/off state
    bool checked = false;
    std::optional<HotKeySpec> shortcut; // the global shortcut shown in the right-hand column
    QString shortcutLabel;              // its label, filled by showShortcuts
    QString imageSymbol;                // the symbol shown beside the title, if any
    QString imageDescription;           // the symbol's accessibility description
    QString iconName;                   // the same image as a freedesktop icon name, for panels
    // The entry the item stands for, where its action and desktop do not tell it (a line of
    // text): a rebuild keeps the menu's action of every entry it keeps.
    QString key;

    static StatusMenuItem makeSeparator()
    {
        StatusMenuItem item;
        item.separator = true;
        return item;
    }
    bool operator==(const StatusMenuItem &) const = default;
};

// A switch whose files are moving: the desktop it goes to and how many items it moves.
struct SwitchUnderWay {
    QString target;
    qsizetype items = -1; // -1 until the count is known
    // It has run past the notice (about a second): the tool tip says so too.
    bool longRunning = false;
    bool operator==(const SwitchUnderWay &) const = default;
};
// "Moving 12,000 items to Work…" (the count in the user's locale), or "Switching to Work…"
// while the count is not known.
QString switchUnderWayText(const SwitchUnderWay &underWay);

// The status menu as data, built from the stored document; rendered into a QMenu in one place.
struct StatusMenuModel {
    static constexpr int paddingSpaces = 5;

    std::vector<StatusMenuItem> items;

    // The menu for a document. updatesOffered: the installed application has an update
    // framework (only then is "Check for Updates…" there). While a switch is under way its
    // line comes first, disabled; the desktop being left keeps its mark until the switch ends.
    static StatusMenuModel build(const Config &config, bool updatesOffered,
                                 const std::optional<SwitchUnderWay> &underWay = std::nullopt);

    // Shortcut column: every item with a shortcut gets its label ("⌃⌥⇧⌘" glyphs and the key's
    // name); with no such item nothing changes.
    void showShortcuts(const std::function<QString(const HotKeySpec &)> &label);
    // Without the column: every titled item ends in five no-break spaces.
    void padTitles();

    // The titles in order, separators as empty strings.
    QStringList titles() const;

    bool operator==(const StatusMenuModel &) const = default;
};

// Brings the menu's actions in line with the model's items; choosing one calls onChoose with
// it. An entry the menu already has keeps its action, changed in place (text, mark, enabling),
// so a menu that is open stays open and a status area drawing it keeps its items; only entries
// that came or went are added or removed.
void renderStatusMenu(const StatusMenuModel &model, QMenu &menu,
                      const std::function<void(const StatusMenuItem &)> &onChoose);

// A shortcut's label: modifier glyphs followed by the key's name.
QString shortcutLabel(const HotKeySpec &spec);

} // namespace quorvane
