#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// Errors of the swap engine; the controller words the alerts that present them.
class SwapError : public std::runtime_error {
public:
    enum class Kind { unknownWorkspace, crossVolumeStore };

    static SwapError unknownWorkspace(const QString &name) { return SwapError(Kind::unknownWorkspace, name); }
    static SwapError crossVolumeStore() { return SwapError(Kind::crossVolumeStore, QString()); }

    Kind kind() const { return m_kind; }
    // The requested name, for unknownWorkspace.
    QString name() const { return m_name; }

    bool operator==(const SwapError &other) const
    {
        return m_kind == other.m_kind && (m_kind != Kind::unknownWorkspace || m_name == other.m_name);
    }

private:
    SwapError(Kind kind, const QString &name)
        : std::runtime_error(kind == Kind::unknownWorkspace ? "unknown desktop: " + name.toStdString()
                                                            : std::string("the desktops folder is on another volume than the Desktop"))
        , m_kind(kind)
        , m_name(name)
    {
    }
    Kind m_kind;
    QString m_name;
};

} // namespace quorvane
