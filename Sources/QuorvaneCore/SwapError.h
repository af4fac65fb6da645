#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// Errors of the swap engine; the controller words the alerts that present them.
class SwapError : public std::runtime_error {
public:
    // crossVolumeStore: a folder the switch works on lies on another file system than the
    // Desktop. desktopMissing: the Desktop folder does not exist (a dangling link included).
    // folderOutOfBounds: the desktop's folder, with links resolved, is the home folder, holds
    // the Desktop or the desktops folder, or lies inside the Desktop.
    enum class Kind {
        unknownWorkspace,
        crossVolumeStore,
        desktopMissing,
        folderOutOfBounds
    };

    static SwapError unknownWorkspace(const QString &name) { return SwapError(Kind::unknownWorkspace, name); }
    static SwapError crossVolumeStore() { return SwapError(Kind::crossVolumeStore, QString()); }
    static SwapError desktopMissing() { return SwapError(Kind::desktopMissing, QString()); }
    static SwapError folderOutOfBounds(const QString &name) { return SwapError(Kind::folderOutOfBounds, name); }

    Kind kind() const { return m_kind; }
    // The desktop's name, for unknownWorkspace and folderOutOfBounds.
    QString name() const { return m_name; }

    bool operator==(const SwapError &other) const
    {
        return m_kind == other.m_kind && m_name == other.m_name;
    }

private:
    static std::string describe(Kind kind, const QString &name)
    {
        switch (kind) {
        case Kind::unknownWorkspace:
            return "unknown desktop: " + name.toStdString();
        case Kind::crossVolumeStore:
            break;
        case Kind::desktopMissing:
            return "the Desktop folder is missing";
        case Kind::folderOutOfBounds:
            return "the folder of desktop " + name.toStdString()
                + " leads to the home folder, the Desktop or the desktops folder";
        }
        return "the desktops folder is on another volume than the Desktop";
    }

    SwapError(Kind kind, const QString &name)
        : std::runtime_error(describe(kind, name))
        , m_kind(kind)
        , m_name(name)
    {
    }
    Kind m_kind;
    QString m_name;
};

} // namespace quorvane
