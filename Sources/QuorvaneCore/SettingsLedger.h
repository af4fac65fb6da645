#pragma once

#include <QJsonValue>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace quorvane {

// What the application has changed in the session's own settings (the desktop's background, the
// light or dark theme), kept in a file of the store ("ledger.json") so that a quit, a signal or
// a crash never loses the user's values. Each entry names a facility (who changed it: "appearance",
// "background:<host>") and one of its settings, with the user's value and the value written over
// it. An entry is kept before the setting is changed and forgotten once the user's value is back.
// Values keep their type through the file (text, integer, Boolean, number, list); a user value
// that is invalid means the user had none. Every change of the file is an atomic replacement.
class SettingsLedger {
public:
    struct Entry {
        QString facility;
        QString setting;
        QVariant user;    // invalid: the setting was unset
        QVariant written; // what the application wrote over it
        // What the application wrote over the same user value before `written`, the latest
        // last: a setting read back before the desktop took the latest value (a host that
        // saves its settings a moment later, a crash between the ledger and the desktop) still
        // holds ours, never a value of the user's.
        QVariantList earlier = {};

        bool operator==(const Entry &) const = default;

        // Whether the value is one the application wrote over the user's.
        bool holdsOurs(const QVariant &value) const { return value == written || earlier.contains(value); }
        // The entry once the value is written over the same user value: what was written before
        // goes into `earlier` (the latest few).
        Entry writing(const QVariant &value) const;
    };

    // How many earlier values an entry keeps.
    static constexpr int earlierLimit = 8;

    static inline const QString fileName = QStringLiteral("ledger.json");

    explicit SettingsLedger(QString file);
    // The ledger of a store folder.
    static SettingsLedger inStore(const QString &storeFolder);
    // A value as the ledger stores it, with its type: {"s": text}, {"i": integer}, {"b": Boolean},
    // {"d": number} or {"a": [values]}.
    static QVariant valueFromJson(const QJsonValue &json);

    const QString &file() const { return m_file; }

    // Every entry kept, in the order kept; none when the file is there but cannot be read (then
    // nothing may be borrowed or forgotten: the user's values may be in it).
    std::optional<std::vector<Entry>> entries() const;
    // The facility's entries (none: the file cannot be read).
    std::optional<std::vector<Entry>> entries(const QString &facility) const;

    // Each change below answers none on success, else why the file could not be changed (an
    // unreadable ledger is never replaced). A setting whose entry could not be kept must not be
    // changed.

    // Keeps the entry, replacing one of the same facility and setting.
    std::optional<QString> keep(const Entry &entry);
    // Replaces every entry of the facility with the given ones (each of that facility).
    std::optional<QString> replace(const QString &facility, const std::vector<Entry> &entries);
    // Forgets one setting's entry.
    std::optional<QString> forget(const QString &facility, const QString &setting);

private:
    std::optional<QString> save(const std::vector<Entry> &entries);

    QString m_file;
};

} // namespace quorvane
