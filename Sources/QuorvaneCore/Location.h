#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstddef>
#include <functional>

namespace quorvane {

// Where an item lies: the user's Desktop folder, or the folder of a named desktop directly
// inside the desktops folder (the folder's name is the desktop's name, unchanged).
class Location {
public:
    enum class Kind {
        workspace,
        desktop
    };

    static Location workspace(const QString &name) { return Location(Kind::workspace, name); }
    static Location desktop() { return Location(Kind::desktop, QString()); }

    Kind kind() const { return m_kind; }
    bool isDesktop() const { return m_kind == Kind::desktop; }
    // The desktop's name; empty for the Desktop.
    const QString &name() const { return m_name; }

    // Same kind and, for a desktop folder, canonically equivalent names.
    bool operator==(const Location &other) const;

    // A name that may be used as one path component: not empty, not "." or "..", no "/" or
    // NUL, and representable in UTF-8 (no unpaired surrogate). Every other name is refused
    // before it reaches the file system, whether it names a desktop or an item.
    static bool isSafeName(const QString &name);

    // False for a desktop folder whose name is not safe: such a location names no folder, in
    // particular never the desktops folder itself.
    bool isSafe() const { return isDesktop() || isSafeName(m_name); }

private:
    Location(Kind kind, const QString &name)
        : m_kind(kind)
        , m_name(name)
    {
    }

    Kind m_kind;
    QString m_name;
};

size_t qHash(const Location &location, size_t seed = 0) noexcept;

} // namespace quorvane

template <>
struct std::hash<quorvane::Location> {
    std::size_t operator()(const quorvane::Location &location) const noexcept
    {
        return quorvane::qHash(location, 0);
    }
};
