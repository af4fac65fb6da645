#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// A failed file-manager script: its error text.
class FinderError : public std::runtime_error {
public:
    enum class Kind { appleScript };

    static FinderError appleScript(const QString &text) { return FinderError(Kind::appleScript, text); }

    Kind kind() const { return m_kind; }
    const QString &text() const { return m_text; }

private:
    FinderError(Kind kind, const QString &text)
        : std::runtime_error(text.toStdString())
        , m_kind(kind)
        , m_text(text)
    {
    }

    Kind m_kind;
    QString m_text;
};

} // namespace quorvane
