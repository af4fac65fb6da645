#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// A failed step of moving the application into the per-user install.
class InstallError : public std::runtime_error {
public:
    explicit InstallError(const QString &description)
        : std::runtime_error(description.toStdString())
        , m_description(description)
    {
    }
    QString description() const { return m_description; }

private:
    QString m_description;
};

} // namespace quorvane
