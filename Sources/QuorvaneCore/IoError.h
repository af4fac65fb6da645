#pragma once

#include <QString>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace quorvane {

// A failed file operation of the store, carrying errno and what was being done.
class IoError : public std::system_error {
public:
    IoError(int error, const QString &action)
        : std::system_error(error, std::generic_category(), action.toStdString())
        , m_action(action)
    {
    }
    QString description() const { return m_action + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code().value())); }

private:
    QString m_action;
};

} // namespace quorvane
