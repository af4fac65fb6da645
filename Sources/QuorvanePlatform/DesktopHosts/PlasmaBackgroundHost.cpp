#include "DesktopHosts/PlasmaBackgroundHost.h"

#include <QColor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QMap>
#include <QUrl>

namespace quorvane {

namespace {

const QString imagePlugin = QStringLiteral("org.kde.image");
const QString colorPlugin = QStringLiteral("org.kde.color");

// A text as a script's string literal.
QString literal(const QString &text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

std::optional<QString> busEvaluate(const QString &script, QString &error)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                                                       QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return std::nullopt;
    }
    return reply.arguments().value(0).toString();
}

// "<id>/<key>": the containment's id and the key.
std::pair<QString, QString> split(const QString &name)
{
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    return {name.left(slash), name.mid(slash + 1)};
}

} // namespace

PlasmaBackgroundHost::PlasmaBackgroundHost(Evaluate evaluate)
    : m_evaluate(evaluate ? std::move(evaluate) : Evaluate(busEvaluate))
{
}

std::optional<QVariantMap> PlasmaBackgroundHost::read(QString &error)
{
    // One line a desktop: its id, its plugin, the picture plugin's Image, the colour plugin's
    // Color, separated by tabs.
    const QString script = QStringLiteral(
        "desktops().forEach(function (d) {"
        " d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General']; var image = d.readConfig('Image', '');"
        " d.currentConfigGroup = ['Wallpaper', 'org.kde.color', 'General']; var color = d.readConfig('Color', '');"
        " print(d.id + '\\t' + d.wallpaperPlugin + '\\t' + image + '\\t' + color + '\\n'); });");
    const auto printed = m_evaluate(script, error);
    if (!printed)
        return std::nullopt;
    QVariantMap values;
    for (const QString &line : printed->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 4 || fields[0].isEmpty())
            continue;
        values.insert(fields[0] + QStringLiteral("/plugin"), fields[1]);
        values.insert(fields[0] + QStringLiteral("/Image"), fields[2]);
        values.insert(fields[0] + QStringLiteral("/Color"), fields[3]);
    }
    if (values.isEmpty()) {
        error = QStringLiteral("the shell names no desktop");
        return std::nullopt;
    }
    return values;
}

QString PlasmaBackgroundHost::writeScript(const QVariantMap &values)
{
    QMap<QString, QVariantMap> byDesktop;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const auto [id, key] = split(it.key());
        byDesktop[id].insert(key, it.value());
    }
    QString script = QStringLiteral("desktops().forEach(function (d) {");
    for (auto it = byDesktop.cbegin(); it != byDesktop.cend(); ++it) {
        bool numeric = false;
        const int id = it.key().toInt(&numeric);
        if (!numeric)
            continue;
        script += QStringLiteral(" if (d.id == %1) {").arg(id);
        const QVariantMap &keys = it.value();
        // The values first, then the plugin that shows them.
        if (keys.contains(QStringLiteral("Image")))
            script += QStringLiteral(" d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
                                     " d.writeConfig('Image', %1);")
                          .arg(literal(keys.value(QStringLiteral("Image")).toString()));
        if (keys.contains(QStringLiteral("Color")))
            script += QStringLiteral(" d.currentConfigGroup = ['Wallpaper', 'org.kde.color', 'General'];"
                                     " d.writeConfig('Color', %1);")
                          .arg(literal(keys.value(QStringLiteral("Color")).toString()));
        if (keys.contains(QStringLiteral("plugin")))
            script += QStringLiteral(" d.wallpaperPlugin = %1;").arg(literal(keys.value(QStringLiteral("plugin")).toString()));
        script += QStringLiteral(" d.reloadConfig(); }");
    }
    return script + QStringLiteral(" });");
}

std::optional<QString> PlasmaBackgroundHost::write(const QVariantMap &values)
{
    if (values.isEmpty())
        return std::nullopt;
    QString error;
    if (!m_evaluate(writeScript(values), error))
        return error;
    return std::nullopt;
}

QVariantMap PlasmaBackgroundHost::cueValues(const BackgroundFill &fill, const QVariantMap &current) const
{
    QVariantMap values;
    for (auto it = current.cbegin(); it != current.cend(); ++it) {
        const auto [id, key] = split(it.key());
        if (key != QLatin1String("plugin"))
            continue;
        if (fill.kind == BackgroundFill::Kind::color) {
            const QColor color(fill.color);
            values.insert(id + QStringLiteral("/plugin"), colorPlugin);
            values.insert(id + QStringLiteral("/Color"),
                          QStringLiteral("%1,%2,%3").arg(color.red()).arg(color.green()).arg(color.blue()));
        } else {
            values.insert(id + QStringLiteral("/plugin"), imagePlugin);
            values.insert(id + QStringLiteral("/Image"), QUrl::fromLocalFile(fill.image).toString());
        }
    }
    return values;
}

std::optional<BackgroundFill> PlasmaBackgroundHost::shownBy(const QVariantMap &values) const
{
    // The first desktop's.
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const auto [id, key] = split(it.key());
        if (key != QLatin1String("plugin"))
            continue;
        const QString plugin = it.value().toString();
        if (plugin == imagePlugin) {
            const QUrl image(values.value(id + QStringLiteral("/Image")).toString());
            if (image.isLocalFile())
                return BackgroundFill{BackgroundFill::Kind::image, {}, image.toLocalFile()};
        } else if (plugin == colorPlugin) {
            const QStringList rgb = values.value(id + QStringLiteral("/Color")).toString().split(QLatin1Char(','));
            if (rgb.size() >= 3)
                return BackgroundFill{BackgroundFill::Kind::color,
                                      QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt()).name().toUpper(),
                                      {}};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace quorvane
