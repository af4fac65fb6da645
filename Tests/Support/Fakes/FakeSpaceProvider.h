#pragma once

#include "Workspaces/SpaceProvider.h"

#include <QStringList>
#include <QVariantMap>

#include <map>

namespace quorvane::test {

// Workspaces the test lays out: either numbered desktops like a window manager's, or entries
// scripted by hand (malformed ones included).
class FakeSpaceProvider final : public SpaceProvider {
public:
    bool isAvailable = true;
    std::optional<QVariantList> entries;
    std::optional<QString> mainDisplay;
    std::map<WindowId, std::int64_t> windows; // a window's workspace
    std::optional<std::int64_t> current;
    int moves = 0;

    static QVariantMap space(const QString &uuid, int type = 0)
    {
        return {{QStringLiteral("uuid"), uuid}, {QStringLiteral("type"), type}};
    }
    // One display "Main" with count user Spaces "ewmh-desktop-<i>", the index-th current.
    void desktops(int count, int index)
    {
        QVariantList spaces;
        for (int i = 0; i < count; ++i)
            spaces.append(space(QStringLiteral("ewmh-desktop-%1").arg(i)));
        entries = QVariantList{QVariantMap{{QStringLiteral("Display Identifier"), QStringLiteral("Main")},
                                           {QStringLiteral("Spaces"), spaces},
                                           {QStringLiteral("Current Space"), spaces.value(index)}}};
        current = index;
    }
    // sway's workspaces, known by their names ("wm-workspace-<name>"), the one named current.
    void namedWorkspaces(const QStringList &names, const QString &currentName)
    {
        QVariantList spaces;
        QVariantMap focused;
        for (const QString &name : names) {
            QVariantMap one = space(QStringLiteral("wm-workspace-") + name);
            one.insert(QStringLiteral("name"), name);
            spaces.append(one);
            if (name == currentName)
                focused = one;
        }
        entries = QVariantList{QVariantMap{{QStringLiteral("Display Identifier"), QStringLiteral("Main")},
                                           {QStringLiteral("Spaces"), spaces},
                                           {QStringLiteral("Current Space"), focused}}};
        current = names.indexOf(currentName);
    }
    // Only the current Space is described: a user Space, or a full-screen one.
    void moveTo(const QString &uuid, bool isUser = true)
    {
        const QVariantMap now = space(uuid, isUser ? 0 : 4);
        entries = QVariantList{QVariantMap{{QStringLiteral("Display Identifier"), QStringLiteral("Main")},
                                           {QStringLiteral("Spaces"), QVariantList{now}},
                                           {QStringLiteral("Current Space"), now}}};
    }

    bool available() const override { return isAvailable; }
    std::optional<QVariantList> managedDisplaySpaces() const override
    {
        return isAvailable ? entries : std::nullopt;
    }
    std::optional<QString> mainDisplayIdentifier() const override { return mainDisplay; }
    std::optional<std::int64_t> windowDesktop(WindowId window) const override
    {
        const auto it = windows.find(window);
        if (it == windows.end())
            return std::nullopt;
        return it->second;
    }
    std::optional<std::int64_t> currentDesktop() const override { return isAvailable ? current : std::nullopt; }
    void moveToCurrentDesktop(WindowId window) override
    {
        ++moves;
        if (current)
            windows[window] = *current;
    }
};

} // namespace quorvane::test
