#include "Overlays/DesktopBackground.h"

#include "Overlays/CuePicture.h"
#include "RegularFile.h"
#include "Shared/Log.h"
#include "Shared/Style.h"
#include "Work/HostWork.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>

namespace quorvane {

namespace {

bool isBackground(const SettingsLedger::Entry &entry)
{
    return entry.facility.startsWith(DesktopBackground::facilityPrefix);
}

// The file a setting's value names: a path, or a file URL, either of them perhaps quoted as
// GSettings prints it.
QString fileNamedBy(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return {};
    QString text = value.toString();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\'')))
        text = text.mid(1, text.size() - 2);
    if (text.startsWith(QLatin1String("file:")))
        return QUrl(text).toLocalFile();
    return text;
}

} // namespace

DesktopBackground::DesktopBackground(const Paths &paths, BackgroundHostFinder findHost, std::function<bool()> iconWindow)
    : m_paths(paths)
    , m_ledger(SettingsLedger::inStore(paths.store()))
    , m_findHost(std::move(findHost))
    , m_iconWindow(std::move(iconWindow))
{
}

bool DesktopBackground::belowIconsUnavailable() const
{
    return m_iconWindow && m_iconWindow() && !(m_findHost && m_findHost());
}

bool DesktopBackground::keeping() const
{
    if (QFile::exists(m_paths.store() + QLatin1Char('/') + legacyFileName))
        return true;
    const auto entries = m_ledger.entries();
    return !entries || std::any_of(entries->begin(), entries->end(), isBackground);
}

bool DesktopBackground::isOurs(const SettingsLedger::Entry *entry, const QVariant &value) const
{
    if (entry && entry->holdsOurs(value))
        return true;
    // The pictures of the store are the cue's: never a wallpaper of the user's.
    const QString file = fileNamedBy(value);
    if (file.isEmpty())
        return false;
    const QFileInfo info(file);
    return info.fileName().startsWith(QLatin1String("background-")) && info.fileName().endsWith(QLatin1String(".png"))
        && QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(QDir(m_paths.store()).absolutePath());
}

void DesktopBackground::adoptLegacyFile()
{
    const QString legacy = m_paths.store() + QLatin1Char('/') + legacyFileName;
    const auto bytes = RegularFile::readOrWarn(legacy, 1 << 20);
    if (!bytes)
        return;
    const QJsonObject object = QJsonDocument::fromJson(*bytes).object();
    if (!object.value(QStringLiteral("host")).isString()) {
        qCWarning(Log::app()) << "the kept desktop background is unreadable and stays in" << legacy;
        return;
    }
    // Only what was written over the user's values needs them back.
    const QString facility = facilityPrefix + object.value(QStringLiteral("host")).toString();
    const QJsonObject user = object.value(QStringLiteral("user")).toObject();
    const QJsonObject written = object.value(QStringLiteral("written")).toObject();
    std::vector<SettingsLedger::Entry> entries;
    for (auto it = written.constBegin(); it != written.constEnd(); ++it) {
        entries.push_back({facility, it.key(), user.contains(it.key()) ? SettingsLedger::valueFromJson(user.value(it.key())) : QVariant(),
                           SettingsLedger::valueFromJson(it.value())});
    }
    if (const auto failure = m_ledger.replace(facility, entries)) {
        qCWarning(Log::app()) << "the kept desktop background stays in" << legacy << ":" << *failure;
        return;
    }
    QFile::remove(legacy);
}

std::optional<std::vector<SettingsLedger::Entry>> DesktopBackground::kept()
{
    adoptLegacyFile();
    auto entries = m_ledger.entries();
    if (!entries)
        return std::nullopt;
    std::erase_if(*entries, [](const SettingsLedger::Entry &entry) { return !isBackground(entry); });
    return entries;
}

QString DesktopBackground::storePicture(const QString &name, const QImage &picture) const
{
    QDir store(m_paths.store());
    // One picture at a time: an earlier one goes.
    for (const QString &old : store.entryList({QStringLiteral("background-*.png")}, QDir::Files)) {
        if (old != name)
            store.remove(old);
    }
    const QString path = store.filePath(name);
    if (!QFile::exists(path)) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        if (const auto failure = RegularFile::write(path, png))
            qCWarning(Log::app()) << "cannot write the cue's picture:" << *failure;
    }
    return path;
}

QString DesktopBackground::colorPicture(const QString &hex) const
{
    const QColor color = colorFromHex(hex);
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(color);
    return storePicture(QStringLiteral("background-") + color.name().mid(1).toUpper() + QStringLiteral(".png"), picture);
}

bool DesktopBackground::show(const DesktopCue::Fill &fill, double opacity, QSize screen)
{
    const std::shared_ptr<BackgroundHost> host = m_findHost ? m_findHost() : nullptr;
    if (!host)
        return false;
    m_shownHere = true;
    // The host's settings daemon or tool may be slow: the cue lands when it has taken it.
    HostWork::post([work = *this, host, fill, opacity, screen]() mutable { work.showOn(*host, fill, opacity, screen); });
    return true;
}

void DesktopBackground::showOn(BackgroundHost &hostRef, const DesktopCue::Fill &fill, double opacity, QSize screen)
{
    BackgroundHost *host = &hostRef;
    QString error;
    const auto current = host->read(error);
    if (!current) {
        qCWarning(Log::app()) << "desktop background of" << host->name() << "unreadable, no cue shown:" << error;
        return;
    }
    const auto entries = kept();
    if (!entries) {
        qCWarning(Log::app()) << "the ledger" << keptFile() << "is unreadable; no cue shown on" << host->name();
        return;
    }
    const QString facility = facilityPrefix + host->name();
    for (const auto &entry : *entries) {
        if (entry.facility != facility) {
            qCWarning(Log::app()) << "a background kept for" << entry.facility.mid(facilityPrefix.size())
                                  << "stays kept; no cue shown on" << host->name();
            return;
        }
    }
    QDir().mkpath(m_paths.store());
    const auto entryOf = [&entries](const QString &setting) -> const SettingsLedger::Entry * {
        const auto found = std::find_if(entries->begin(), entries->end(),
                                        [&setting](const SettingsLedger::Entry &entry) { return entry.setting == setting; });
        return found == entries->end() ? nullptr : &*found;
    };
    BackgroundFill background;
    if (opacity < 1.0 && screen.isValid()) {
        // The user's own values: those kept in the ledger where ours still stand. A picture of
        // ours that no entry names is nobody's wallpaper: nothing is composed over it.
        QVariantMap users = *current;
        for (auto it = current->cbegin(); it != current->cend(); ++it) {
            const SettingsLedger::Entry *entry = entryOf(it.key());
            if (!isOurs(entry, it.value()))
                continue;
            if (entry && entry->user.isValid() && !isOurs(nullptr, entry->user))
                users.insert(it.key(), entry->user);
            else
                users.remove(it.key());
        }
        const QImage picture = composeCuePicture(host->shownBy(users), fill, opacity, screen);
        // Named after what it shows, so that a host showing the earlier one takes the new one.
        const QString digest = QString::fromLatin1(
            QCryptographicHash::hash(QByteArray::fromRawData(reinterpret_cast<const char *>(picture.constBits()),
                                                             picture.sizeInBytes()),
                                     QCryptographicHash::Sha1)
                .toHex()
                .left(12));
        background.kind = BackgroundFill::Kind::image;
        background.image = storePicture(QStringLiteral("background-cue-") + digest + QStringLiteral(".png"), picture);
    } else if (fill.kind == DesktopCue::Fill::Kind::color) {
        background.color = colorFromHex(fill.value).name().toUpper();
        background.image = colorPicture(fill.value);
    } else {
        background.kind = BackgroundFill::Kind::image;
        background.image = fill.value;
    }
    const QVariantMap written = host->cueValues(background, *current);
    std::vector<SettingsLedger::Entry> next;
    QVariantMap values;
    for (const auto &entry : *entries) {
        const QVariant now = current->value(entry.setting);
        // What holds none of ours is the user's own new value.
        const bool ours = isOurs(&entry, now);
        if (written.contains(entry.setting)) {
            SettingsLedger::Entry kept = entry;
            if (!ours)
                kept.user = now;
            next.push_back(kept.writing(written.value(entry.setting)));
        } else if (ours && entry.user != now) {
            // What the earlier cue wrote and this one does not is the user's again.
            values.insert(entry.setting, entry.user);
        }
    }
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const QVariant now = current->value(it.key());
        if (!entryOf(it.key())) {
            // Never one of ours as the user's: a picture of the store stands for no value of theirs.
            next.push_back({facility, it.key(), isOurs(nullptr, now) ? QVariant() : now, it.value()});
        }
        // Only what differs is written: each setting may cost the host a child process.
        if (now != it.value())
            values.insert(it.key(), it.value());
    }
    // Kept before the host changes: a crash in between loses nothing of the user's.
    if (const auto failure = m_ledger.replace(facility, next)) {
        qCWarning(Log::app()) << "desktop background not kept, no cue shown:" << *failure;
        return;
    }
    if (const auto failure = host->write(values))
        qCWarning(Log::app()) << "desktop background of" << host->name() << "not changed:" << *failure;
}

void DesktopBackground::putBack()
{
    m_shownHere = false;
    HostWork::post([work = *this]() mutable { work.putBackNow(); });
}

void DesktopBackground::putBackNow()
{
    const auto entries = kept();
    if (!entries) {
        qCWarning(Log::app()) << "the kept desktop background is unreadable and stays in" << keptFile();
        return;
    }
    if (entries->empty())
        return;
    const QString facility = entries->front().facility;
    const std::shared_ptr<BackgroundHost> host = m_findHost ? m_findHost() : nullptr;
    if (!host || facilityPrefix + host->name() != facility) {
        qCWarning(Log::app()) << "desktop background kept until" << facility.mid(facilityPrefix.size()) << "runs again";
        return;
    }
    QString error;
    const auto current = host->read(error);
    if (!current) {
        qCWarning(Log::app()) << "desktop background of" << host->name() << "unreadable, kept:" << error;
        return;
    }
    QVariantMap back;
    for (const auto &entry : *entries) {
        // A value changed since it was written is the user's: it stays.
        const QVariant now = current->value(entry.setting);
        if (isOurs(&entry, now) && entry.user != now)
            back.insert(entry.setting, entry.user); // invalid: the user had none
    }
    if (const auto failure = host->write(back)) {
        qCWarning(Log::app()) << "desktop background of" << host->name() << "not put back, kept:" << *failure;
        return;
    }
    if (const auto failure = m_ledger.replace(facility, {}))
        qCWarning(Log::app()) << "desktop background back, but still in the ledger:" << *failure;
}

} // namespace quorvane
