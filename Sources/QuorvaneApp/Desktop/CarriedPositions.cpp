#include "Desktop/CarriedPositions.h"

#include "DesktopHosts/DesktopIconHost.h"
#include "RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorvane {

const QString CarriedPositions::fileName = QStringLiteral(".icon-positions.json");
const qint64 CarriedPositions::maxBytes = 1024 * 1024;

namespace {

QByteArray encode(const std::map<QString, IconPositions> &hosts)
{
    QJsonObject root;
    for (const auto &[host, positions] : hosts) {
        if (positions.empty())
            continue;
        QJsonObject entries;
        for (const auto &[name, position] : positions)
            entries.insert(name, position.toJson());
        root.insert(host, entries);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace

CarriedPositions::CarriedPositions(const QString &folder)
    : m_path(folder + QLatin1Char('/') + fileName)
{
    const RegularFile::Content content = RegularFile::read(m_path, maxBytes);
    if (content.missing())
        return;
    if (!content.bytes)
        throw IconStoreError(content.reason);
    const QJsonObject root = QJsonDocument::fromJson(*content.bytes).object();
    for (auto host = root.begin(); host != root.end(); ++host) {
        const QJsonObject entries = host.value().toObject();
        IconPositions &positions = m_hosts[host.key()];
        for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
            const QJsonObject value = entry.value().toObject();
            if (value.value(QStringLiteral("x")).isDouble() && value.value(QStringLiteral("y")).isDouble())
                positions.insert_or_assign(entry.key(), IconPosition::fromJson(value));
        }
    }
    m_loaded = encode(m_hosts);
}

void CarriedPositions::save()
{
    const QByteArray text = encode(m_hosts);
    if (text == m_loaded)
        return;
    if (text == "{}" && !QFileInfo(m_path).exists() && !QFileInfo(m_path).isSymLink()) {
        m_loaded = text;
        return;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (const auto failure = RegularFile::write(m_path, text))
        throw IconStoreError(*failure);
    m_loaded = text;
}

} // namespace quorvane
