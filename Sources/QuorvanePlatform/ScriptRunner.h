#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

namespace quorvane {

// A script that could not be created or whose run failed; text is the script host's error
// text (possibly empty).
class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const QString &text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// Runs a script of the file manager's scripting language and returns its result: the reply
// trimmed of blanks and newlines, none when it is empty. Throws ScriptError.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    virtual std::optional<QString> run(const QString &script) = 0;
};

// In-process runner of this platform: there is no script host, so no script can be created
// and every run fails with "could not create script".
class LinuxScriptRunner final : public ScriptRunner {
public:
    std::optional<QString> run(const QString &script) override;
};

} // namespace quorvane
