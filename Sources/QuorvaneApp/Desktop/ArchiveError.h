#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// Why archiving, draining or restoring a desktop was refused or failed. description() is the
// text shown to the user.
class ArchiveError : public std::runtime_error {
public:
    enum class Kind {
        notTemporary,
        alreadyArchived,
        isActiveDesktop,
        targetMissing,
        targetNotPermanent,
        filesystem,
        crossVolume,
        drainIntoItself,
    };

    static ArchiveError notTemporary(const QString &name) { return ArchiveError(Kind::notTemporary, name); }
    static ArchiveError alreadyArchived(const QString &name) { return ArchiveError(Kind::alreadyArchived, name); }
    static ArchiveError isActiveDesktop(const QString &name) { return ArchiveError(Kind::isActiveDesktop, name); }
    static ArchiveError targetMissing(const QString &target) { return ArchiveError(Kind::targetMissing, target); }
    static ArchiveError targetNotPermanent(const QString &target) { return ArchiveError(Kind::targetNotPermanent, target); }
    // The message is the whole text.
    static ArchiveError filesystem(const QString &message) { return ArchiveError(Kind::filesystem, message); }
    static ArchiveError crossVolume() { return ArchiveError(Kind::crossVolume, QString()); }
    static ArchiveError drainIntoItself() { return ArchiveError(Kind::drainIntoItself, QString()); }

    Kind kind() const { return m_kind; }
    // The desktop or target name, or the filesystem message; empty for the cases without one.
    const QString &payload() const { return m_payload; }
    const QString &description() const { return m_description; }

    bool operator==(const ArchiveError &other) const { return m_kind == other.m_kind && m_payload == other.m_payload; }

    static QString describe(Kind kind, const QString &payload);

private:
    ArchiveError(Kind kind, const QString &payload);

    Kind m_kind;
    QString m_payload;
    QString m_description;
};

} // namespace quorvane
