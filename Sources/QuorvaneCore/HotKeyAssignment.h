#pragma once

#include "HotKeySpec.h"
#include "Names.h"

#include <QString>

namespace quorvane {

// A shortcut together with what it triggers; built when shortcuts are registered, never stored.
struct HotKeyAssignment {
    // What a shortcut belongs to: one desktop (by name) or one of the global actions.
    struct Owner {
        enum class Kind {
            workspace,
            cycleNext,
            cyclePrevious,
            hideDesktop,
            switchToLast,
            openSettings,
            openCalendar,
            sortNow,
            floatingDock,
        };

        Kind kind = Kind::workspace;
        QString name; // the desktop's name; used only by Kind::workspace

        static Owner workspace(const QString &name) { return Owner{Kind::workspace, name}; }
        static Owner action(Kind kind) { return Owner{kind, QString()}; }
        static Owner cycleNext() { return action(Kind::cycleNext); }
        static Owner cyclePrevious() { return action(Kind::cyclePrevious); }
        static Owner hideDesktop() { return action(Kind::hideDesktop); }
        static Owner switchToLast() { return action(Kind::switchToLast); }
        static Owner openSettings() { return action(Kind::openSettings); }
        static Owner openCalendar() { return action(Kind::openCalendar); }
        static Owner sortNow() { return action(Kind::sortNow); }
        static Owner floatingDock() { return action(Kind::floatingDock); }

        // The same action, or both the same desktop (canonically equivalent names are equal).
        bool operator==(const Owner &other) const
        {
            if (kind != other.kind)
                return false;
            if (kind != Kind::workspace)
                return true;
            return namesEqual(name, other.name);
        }
    };

    Owner owner;
    HotKeySpec spec;

    bool operator==(const HotKeyAssignment &) const = default;
};

} // namespace quorvane
