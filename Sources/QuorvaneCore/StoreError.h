#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace quorvane {

// The store refuses to write a document saved by a newer format version.
class StoreError : public std::runtime_error {
public:
    enum class Kind {
        configNewerThanApp
    };

    static StoreError configNewerThanApp(std::int64_t fileVersion) { return StoreError(fileVersion); }

    Kind kind() const { return Kind::configNewerThanApp; }
    std::int64_t fileVersion() const { return m_fileVersion; }
    // The same text for every version number.
    QString description() const;

    bool operator==(const StoreError &other) const { return m_fileVersion == other.m_fileVersion; }

private:
    explicit StoreError(std::int64_t fileVersion);
    std::int64_t m_fileVersion;
};

} // namespace quorvane
