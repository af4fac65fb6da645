#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// A failed file-system operation of a desktop surface: the system's error number (errno) and
// a message naming the operation and the item.
class SurfaceError : public std::runtime_error {
public:
    SurfaceError(int code, const QString &message)
        : std::runtime_error(message.toStdString())
        , m_code(code)
        , m_message(message)
    {
    }

    int code() const { return m_code; }
    const QString &message() const { return m_message; }

private:
    int m_code;
    QString m_message;
};

} // namespace quorvane
