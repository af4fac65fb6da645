#pragma once

#include "Session/PreferenceReader.h"

#include <QHash>

namespace quorvane::test {

// Preferences the test sets, by domain and key.
class FakePreferenceReader final : public PreferenceReader {
public:
    QHash<QString, QVariant> values; // "domain/key"

    void set(const QString &domain, const QString &key, const QVariant &value) { values.insert(domain + '/' + key, value); }
    std::optional<QVariant> value(const QString &domain, const QString &key) const override
    {
        const auto it = values.constFind(domain + '/' + key);
        if (it == values.constEnd())
            return std::nullopt;
        return *it;
    }
};

} // namespace quorvane::test
