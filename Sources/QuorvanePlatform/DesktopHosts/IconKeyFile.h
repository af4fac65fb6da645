#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quorvane {

// The text of a desktop host's key file (groups of "key=value" lines under "[group]"), edited
// group by group: every line this editor does not change stays exactly as it was, comments
// and the host's own settings included.
class IconKeyFile {
public:
    // escapedNames: group names write a backslash, a carriage return and a line feed as
    // "\\", "\r" and "\n" (pcmanfm's desktop); otherwise they are written as they are.
    explicit IconKeyFile(bool escapedNames);

    // Throws IconStoreError for a line that is neither a group, a key, a comment nor blank.
    void parse(const QString &text);
    QString text() const;

    // Whether a name can be a group name at all (no brackets, no control characters left).
    bool canHold(const QString &name) const;
    bool hasGroup(const QString &name) const;
    // The key's value in the group, as an integer; none when missing or not an integer.
    std::optional<qint64> integer(const QString &group, const QString &key) const;
    // Sets the keys in the group (added at the end when missing), other keys unchanged.
    void setIntegers(const QString &group, const std::vector<std::pair<QString, qint64>> &values);
    void removeGroup(const QString &group);
    // The first group's name, decoded; empty without groups.
    QString firstGroup() const;

private:
    struct Group {
        QString name;      // decoded
        QStringList lines; // the header first
        bool removed = false;
    };
    QString encoded(const QString &name) const;
    QString decoded(const QString &header) const;
    Group *find(const QString &name);
    const Group *find(const QString &name) const;

    bool m_escapedNames;
    QStringList m_preamble;
    std::vector<Group> m_groups;
    // Group name → the places of its groups in m_groups (the last one counts, as for the
    // hosts), for stores of thousands.
    QHash<QString, std::vector<std::size_t>> m_index;
    bool m_endsWithNewline = true;
};

} // namespace quorvane
