#include "Desktop/CarriedPositions.h"

#include "DesktopIconHost.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace quorvane {

const QString CarriedPositions::fileName = QStringLiteral(".icon-positions.json");

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
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
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
    if (text == "{}" && !QFile::exists(m_path)) {
        m_loaded = text;
        return;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw IconStoreError(m_path + QStringLiteral(": ") + file.errorString());
    m_loaded = text;
}

} // namespace quorvane
