#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// A document, or a record inside it, that cannot be decoded: a required key is missing, a
// value has the wrong type or an enumeration string names no case. The whole document fails.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

} // namespace quorvane
