#pragma once

#include "HotKeySpec.h"

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

        // The same action, or both the same desktop (canonically equivalent names are equal).
        bool operator==(const Owner &other) const
        {
            if (kind != other.kind)
                return false;
            if (kind != Kind::workspace)
                return true;
            return name == other.name
                || name.normalized(QString::NormalizationForm_C) == other.name.normalized(QString::NormalizationForm_C);
        }
    };

    Owner owner;
    HotKeySpec spec;

    bool operator==(const HotKeyAssignment &) const = default;
};

} // namespace quorvane
