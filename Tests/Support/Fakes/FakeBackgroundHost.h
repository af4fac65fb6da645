#pragma once

#include "DesktopHosts/BackgroundHost.h"

#include <vector>

namespace quorvane::test {

// A desktop host whose background is a map the test reads and changes; it shows a colour as
// "color" and a picture as "picture" (the picture first), and removes a setting written as an
// invalid value.
class FakeBackgroundHost final : public BackgroundHost {
public:
    QString hostName = QStringLiteral("fake desktop");
    QVariantMap settings;
    std::optional<QString> readFailure;
    std::optional<QString> writeFailure;
    std::vector<QVariantMap> writes;

    QString name() const override { return hostName; }
    std::optional<QVariantMap> read(QString &error) override
    {
        if (readFailure) {
            error = *readFailure;
            return std::nullopt;
        }
        return settings;
    }
    std::optional<QString> write(const QVariantMap &values) override
    {
        writes.push_back(values);
        if (writeFailure)
            return writeFailure;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (it.value().isValid())
                settings.insert(it.key(), it.value());
            else
                settings.remove(it.key());
        }
        return std::nullopt;
    }
    QVariantMap cueValues(const BackgroundFill &fill, const QVariantMap &) const override
    {
        if (fill.kind == BackgroundFill::Kind::color)
            return {{QStringLiteral("color"), fill.color}, {QStringLiteral("style"), 0}};
        return {{QStringLiteral("picture"), fill.image}, {QStringLiteral("style"), 3}};
    }
    std::optional<BackgroundFill> shownBy(const QVariantMap &values) const override
    {
        if (values.contains(QStringLiteral("picture")))
            return BackgroundFill{BackgroundFill::Kind::image, {}, values.value(QStringLiteral("picture")).toString()};
        if (values.contains(QStringLiteral("color")))
            return BackgroundFill{BackgroundFill::Kind::color, values.value(QStringLiteral("color")).toString(), {}};
        return std::nullopt;
    }
};

} // namespace quorvane::test
