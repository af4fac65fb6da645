#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// Reads and writes the session's GSettings, values as the gsettings tool prints them (a text
// keeps its quotes). A path names a relocatable schema's place; empty for a fixed schema.
// Blocking: called from the host work's thread.
class GSettingsAccess {
public:
    virtual ~GSettingsAccess() = default;
    // None when the value cannot be read (a missing schema or key); error then says why.
    virtual std::optional<QString> get(const QString &schema, const QString &path, const QString &key,
                                       QString &error) = 0;
    // None on success, else the failure.
    virtual std::optional<QString> set(const QString &schema, const QString &path, const QString &key,
                                       const QString &value) = 0;
    virtual std::optional<QString> reset(const QString &schema, const QString &path, const QString &key) = 0;
    // Every key of a fixed schema with its value; none when the schema is missing.
    virtual std::optional<QMap<QString, QString>> values(const QString &schema) = 0;
    // The folders kept under a path of the session's settings store (dconf), each name without
    // its slash; none when the store can't be listed.
    virtual std::optional<QStringList> folders(const QString &path) = 0;
};

// Through the gsettings tool (GSettingsTool), one child process per call.
class GSettingsToolAccess final : public GSettingsAccess {
public:
    // Whether the schema is installed (asked of GIO in process, without a child).
    static bool schemaInstalled(const QString &schema);

    std::optional<QString> get(const QString &schema, const QString &path, const QString &key,
                               QString &error) override;
    std::optional<QString> set(const QString &schema, const QString &path, const QString &key,
                               const QString &value) override;
    std::optional<QString> reset(const QString &schema, const QString &path, const QString &key) override;
    std::optional<QMap<QString, QString>> values(const QString &schema) override;
    // Through the dconf tool.
    std::optional<QStringList> folders(const QString &path) override;
};

} // namespace quorvane
