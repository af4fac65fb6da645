#include "DesktopHosts/GioMetadataIconHost.h"

#include "DesktopHosts/GioFileAttributes.h"
#include "Work/ToolProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <optional>

namespace quorvane {

namespace {

// Files asked about in one run of the tool.
constexpr qsizetype namesPerRun = 500;

std::optional<IconPosition> parsed(const QString &value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    bool xOk = false;
    bool yOk = false;
    const qlonglong x = parts[0].trimmed().toLongLong(&xOk);
    const qlonglong y = parts[1].trimmed().toLongLong(&yOk);
    if (!xOk || !yOk)
        return std::nullopt;
    return IconPosition{x, y};
}

// Whether the name is an item on the Desktop that can be asked about (a name with a line break
// could not be told from the tool's lines around it).
bool servedOn(const QString &desktop, const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('/')))
        return false;
    const QFileInfo info(desktop + QLatin1Char('/') + name);
    return info.exists() || info.isSymLink();
}

} // namespace

GioMetadataIconHost::GioMetadataIconHost(const QString &hostName, const QString &key, const QString &desktopFolder)
    : m_name(hostName)
    , m_attribute(QStringLiteral("metadata::") + key)
    , m_desktop(QDir::cleanPath(desktopFolder))
{
}

IconPositions GioMetadataIconHost::read(const QStringList &names)
{
    // The tool prints one block per file: its local path, then its attributes, one a line.
    QStringList paths;
    QHash<QString, QString> nameOf;
    for (const QString &name : names) {
        const QString path = m_desktop + QLatin1Char('/') + name;
        if (!servedOn(m_desktop, name) || nameOf.contains(path))
            continue;
        paths.append(path);
        nameOf.insert(path, name);
    }
    IconPositions out;
    const QString pathLine = QStringLiteral("local path: ");
    const QString valueLine = QStringLiteral("  ") + m_attribute + QStringLiteral(": ");
    for (qsizetype first = 0; first < paths.size(); first += namesPerRun) {
        QStringList arguments{QStringLiteral("info"), QStringLiteral("-n"), QStringLiteral("-a"), m_attribute};
        arguments += paths.mid(first, namesPerRun);
        const ToolResult result = runTool(QStringLiteral("gio"), arguments);
        if (!result.ok)
            throw IconStoreError(QStringLiteral("gio info: ") + result.error);
        QString current;
        for (const QString &line : result.output.split(QLatin1Char('\n'))) {
            if (line.startsWith(pathLine)) {
                current = nameOf.value(line.mid(pathLine.size()));
            } else if (!current.isEmpty() && line.startsWith(valueLine)) {
                // A value that is not a position is the host's or nobody's: not served.
                if (const auto position = parsed(line.mid(valueLine.size())))
                    out.insert_or_assign(current, *position);
            }
        }
    }
    return out;
}

bool GioMetadataIconHost::write(const IconPositions &set, const QStringList &forget)
{
    QStringList names = forget;
    for (const auto &[name, position] : set)
        names.append(name);
    if (names.isEmpty())
        return false;
    const IconPositions before = read(names);
    std::vector<GioFileAttributes::Change> changes;
    for (const QString &name : forget) {
        if (set.count(name) || !before.count(name))
            continue;
        changes.push_back({m_desktop + QLatin1Char('/') + name, std::nullopt});
    }
    for (const auto &[name, position] : set) {
        // An item that is not on the Desktop has nothing to hold the entry.
        if (!servedOn(m_desktop, name))
            continue;
        if (const auto it = before.find(name); it != before.end() && it->second == position)
            continue;
        changes.push_back({m_desktop + QLatin1Char('/') + name, QStringLiteral("%1,%2").arg(position.x).arg(position.y)});
    }
    if (changes.empty())
        return false;
    const GioFileAttributes::Outcome outcome = GioFileAttributes::apply(m_attribute, changes);
    if (outcome.failure)
        throw IconStoreError(QStringLiteral("gio set: ") + *outcome.failure);
    if (!outcome.unsupported)
        return true;
    // This process's GIO reaches no metadata daemon (it looks for one once, as it starts): the
    // tool, which looks anew, a run per entry.
    for (const GioFileAttributes::Change &change : changes) {
        const QStringList arguments = change.value
            ? QStringList{QStringLiteral("set"), QStringLiteral("-n"), change.path, m_attribute, *change.value}
            : QStringList{QStringLiteral("set"), QStringLiteral("-n"), QStringLiteral("-d"), change.path, m_attribute};
        const ToolResult result = runTool(QStringLiteral("gio"), arguments);
        if (!result.ok)
            throw IconStoreError(QStringLiteral("gio set: ") + result.error);
    }
    return true;
}

} // namespace quorvane
