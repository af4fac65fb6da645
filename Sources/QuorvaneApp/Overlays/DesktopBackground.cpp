#include "Overlays/DesktopBackground.h"

#include "Shared/Log.h"
#include "RegularFile.h"
#include "Shared/Style.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorvane {

namespace {

// Each value keeps its type through the file: {"s": text}, {"i": integer}, {"b": Boolean},
// {"d": number} or {"a": [values]}.
QJsonValue typed(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QJsonObject{{QStringLiteral("i"), value.toLongLong()}};
    case QMetaType::Bool:
        return QJsonObject{{QStringLiteral("b"), value.toBool()}};
    case QMetaType::Double:
    case QMetaType::Float:
        return QJsonObject{{QStringLiteral("d"), value.toDouble()}};
    case QMetaType::QVariantList: {
        QJsonArray items;
        for (const QVariant &item : value.toList())
            items.append(typed(item));
        return QJsonObject{{QStringLiteral("a"), items}};
    }
    default:
        return QJsonObject{{QStringLiteral("s"), value.toString()}};
    }
}

QVariant untyped(const QJsonValue &json)
{
    const QJsonObject object = json.toObject();
    if (object.contains(QStringLiteral("i")))
        return QVariant(static_cast<int>(object.value(QStringLiteral("i")).toInteger()));
    if (object.contains(QStringLiteral("b")))
        return QVariant(object.value(QStringLiteral("b")).toBool());
    if (object.contains(QStringLiteral("d")))
        return QVariant(object.value(QStringLiteral("d")).toDouble());
    if (object.contains(QStringLiteral("a"))) {
        QVariantList items;
        for (const QJsonValue &item : object.value(QStringLiteral("a")).toArray())
            items.append(untyped(item));
        return items;
    }
    return QVariant(object.value(QStringLiteral("s")).toString());
}

QJsonObject typedMap(const QVariantMap &values)
{
    QJsonObject object;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        object.insert(it.key(), typed(it.value()));
    return object;
}

QVariantMap untypedMap(const QJsonObject &object)
{
    QVariantMap values;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        values.insert(it.key(), untyped(it.value()));
    return values;
}

} // namespace

DesktopBackground::DesktopBackground(const Paths &paths, BackgroundHostFinder findHost)
    : m_paths(paths)
    , m_findHost(std::move(findHost))
{
}

bool DesktopBackground::keeping() const
{
    return QFile::exists(keptFile());
}

std::optional<DesktopBackground::Kept> DesktopBackground::load() const
{
    // A handful of settings' values: a larger file, or anything but a regular one, is not ours.
    const auto bytes = RegularFile::readOrWarn(keptFile(), 1024 * 1024);
    if (!bytes)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(*bytes).object();
    if (!object.value(QStringLiteral("host")).isString())
        return std::nullopt;
    return Kept{object.value(QStringLiteral("host")).toString(), untypedMap(object.value(QStringLiteral("user")).toObject()),
                untypedMap(object.value(QStringLiteral("written")).toObject())};
}

bool DesktopBackground::save(const Kept &kept) const
{
    const QJsonObject object{{QStringLiteral("host"), kept.host},
                             {QStringLiteral("user"), typedMap(kept.user)},
                             {QStringLiteral("written"), typedMap(kept.written)}};
    if (const auto failure = RegularFile::write(keptFile(), QJsonDocument(object).toJson(QJsonDocument::Indented))) {
        qCWarning(Log::app()) << "desktop background not kept:" << *failure;
        return false;
    }
    return true;
}

QString DesktopBackground::colorPicture(const QString &hex) const
{
    const QColor color = colorFromHex(hex);
    const QString name = QStringLiteral("background-") + color.name().mid(1).toUpper() + QStringLiteral(".png");
    QDir store(m_paths.store());
    // One picture at a time: the one of an earlier colour goes.
    for (const QString &old : store.entryList({QStringLiteral("background-*.png")}, QDir::Files)) {
        if (old != name)
            store.remove(old);
    }
    const QString path = store.filePath(name);
    if (!QFile::exists(path)) {
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(color);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        if (const auto failure = RegularFile::write(path, png))
            qCWarning(Log::app()) << "cannot write the cue's colour picture:" << *failure;
    }
    return path;
}

bool DesktopBackground::show(const DesktopCue::Fill &fill)
{
    const std::shared_ptr<BackgroundHost> host = m_findHost ? m_findHost() : nullptr;
    if (!host)
        return false;
    QString error;
    const auto current = host->read(error);
    if (!current) {
        qCWarning(Log::app()) << "desktop background of" << host->name() << "unreadable, no cue shown:" << error;
        return true;
    }
    std::optional<Kept> kept = load();
    if (kept && kept->host != host->name()) {
        qCWarning(Log::app()) << "a background kept for" << kept->host << "stays kept; no cue shown on" << host->name();
        return true;
    }
    if (!kept) {
        kept = Kept{host->name(), *current, {}};
    } else {
        // What no longer holds what was written is the user's own new value.
        for (auto it = current->cbegin(); it != current->cend(); ++it) {
            if (!kept->written.contains(it.key()) || kept->written.value(it.key()) != it.value())
                kept->user.insert(it.key(), it.value());
        }
    }
    QDir().mkpath(m_paths.store());
    BackgroundFill background;
    if (fill.kind == DesktopCue::Fill::Kind::color) {
        background.color = colorFromHex(fill.value).name().toUpper();
        background.image = colorPicture(fill.value);
    } else {
        background.kind = BackgroundFill::Kind::image;
        background.image = fill.value;
    }
    const QVariantMap earlier = kept->written;
    kept->written = host->cueValues(background, *current);
    // What the earlier cue wrote and this one does not is the user's again.
    QVariantMap values;
    for (auto it = earlier.cbegin(); it != earlier.cend(); ++it) {
        if (!kept->written.contains(it.key()) && current->value(it.key()) == it.value())
            values.insert(it.key(), kept->user.value(it.key()));
    }
    // Only what differs is written: each setting may cost the host a child process.
    for (auto it = kept->written.cbegin(); it != kept->written.cend(); ++it) {
        if (current->value(it.key()) != it.value())
            values.insert(it.key(), it.value());
    }
    // Kept before the host changes: a crash in between loses nothing of the user's.
    if (!save(*kept))
        return true;
    m_shownHere = true;
    if (const auto failure = host->write(values))
        qCWarning(Log::app()) << "desktop background of" << host->name() << "not changed:" << *failure;
    return true;
}

void DesktopBackground::putBack()
{
    const std::optional<Kept> kept = load();
    if (!kept) {
        if (keeping())
            qCWarning(Log::app()) << "the kept desktop background is unreadable and stays in" << keptFile();
        m_shownHere = false;
        return;
    }
    const std::shared_ptr<BackgroundHost> host = m_findHost ? m_findHost() : nullptr;
    if (!host || host->name() != kept->host) {
        qCWarning(Log::app()) << "desktop background kept until" << kept->host << "runs again";
        return;
    }
    QString error;
    const auto current = host->read(error);
    if (!current) {
        qCWarning(Log::app()) << "desktop background of" << host->name() << "unreadable, kept:" << error;
        return;
    }
    QVariantMap back;
    for (auto it = kept->written.cbegin(); it != kept->written.cend(); ++it) {
        // A value changed since it was written is the user's: it stays.
        if (current->value(it.key()) != it.value())
            continue;
        const QVariant own = kept->user.value(it.key()); // invalid: the user had none
        if (own != it.value())
            back.insert(it.key(), own);
    }
    if (const auto failure = host->write(back)) {
        qCWarning(Log::app()) << "desktop background of" << host->name() << "not put back, kept:" << *failure;
        return;
    }
    QFile::remove(keptFile());
    m_shownHere = false;
}

} // namespace quorvane
